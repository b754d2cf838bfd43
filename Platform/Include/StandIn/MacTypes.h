/* MacTypes.h: the platform's basic scalar types (Boolean, SInt16, UInt32,
 * OSStatus, OSType, ...), Rect, Pascal strings and the generic result codes,
 * with the sizes a 64-bit build of the platform gives them. SRefCon is
 * pointer-sized, as on the 64-bit platform. */
#ifndef JOBLOG_STANDIN_MACTYPES_H
#define JOBLOG_STANDIN_MACTYPES_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef unsigned char Boolean;
typedef int8_t SInt8;
typedef uint8_t UInt8;
typedef int16_t SInt16;
typedef uint16_t UInt16;
typedef int32_t SInt32;
typedef uint32_t UInt32;
typedef int64_t SInt64;
typedef uint64_t UInt64;
typedef float Float32;
typedef double Float64;

typedef UInt16 UniChar;
typedef SInt32 OSStatus;
typedef SInt16 OSErr;
typedef UInt32 FourCharCode;
typedef FourCharCode OSType;
typedef FourCharCode ResType;
typedef UInt32 OptionBits;
typedef long Size;
typedef unsigned long ByteCount;
typedef char* Ptr;
typedef void* SRefCon;

/* Pascal strings: a length byte followed by at most 255 bytes. */
typedef unsigned char Str255[256];
typedef unsigned char* StringPtr;
typedef const unsigned char* ConstStringPtr;

/* A rectangle in the order the toolkit stores it. */
typedef struct Rect {
  SInt16 top;
  SInt16 left;
  SInt16 bottom;
  SInt16 right;
} Rect;

enum {
  noErr = 0,
  paramErr = -50,
  memFullErr = -108
};

#ifdef __cplusplus
}
#endif

#endif
