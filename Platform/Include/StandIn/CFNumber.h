/* CFNumber.h: numbers and Booleans: CFNumberCreate, CFNumberGetValue,
 * kCFBooleanTrue, kCFBooleanFalse, CFBooleanGetValue and their type IDs.
 * Reproduces the platform's conversions: CFNumberGetValue stores the value
 * converted to the asked type and returns false when the conversion loses
 * anything (out of range, a fraction, precision). kCFNumberLongType and
 * kCFNumberCFIndexType are pointer-sized, which is what a ticket reference
 * travels in. The two Booleans are constants. */
#ifndef JOBLOG_STANDIN_CFNUMBER_H
#define JOBLOG_STANDIN_CFNUMBER_H

#include "CFBase.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef const struct OpaqueCFNumber* CFNumberRef;
typedef const struct OpaqueCFBoolean* CFBooleanRef;

typedef CFIndex CFNumberType;
enum {
  kCFNumberSInt8Type = 1,
  kCFNumberSInt16Type = 2,
  kCFNumberSInt32Type = 3,
  kCFNumberSInt64Type = 4,
  kCFNumberFloat32Type = 5,
  kCFNumberFloat64Type = 6,
  kCFNumberCharType = 7,
  kCFNumberShortType = 8,
  kCFNumberIntType = 9,
  kCFNumberLongType = 10,
  kCFNumberLongLongType = 11,
  kCFNumberFloatType = 12,
  kCFNumberDoubleType = 13,
  kCFNumberCFIndexType = 14
};

CFTypeID CFNumberGetTypeID(void);
/* NULL for an unknown number type. */
CFNumberRef CFNumberCreate(CFAllocatorRef allocator, CFNumberType theType, const void* valuePtr);
Boolean CFNumberGetValue(CFNumberRef number, CFNumberType theType, void* valuePtr);

extern const CFBooleanRef kCFBooleanTrue;
extern const CFBooleanRef kCFBooleanFalse;
CFTypeID CFBooleanGetTypeID(void);
Boolean CFBooleanGetValue(CFBooleanRef boolean);

#ifdef __cplusplus
}
#endif

#endif
