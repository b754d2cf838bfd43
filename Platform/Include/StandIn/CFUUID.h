/* CFUUID.h: UUID objects: CFUUIDCreateFromString, CFUUIDCreateFromUUIDBytes,
 * CFUUIDGetConstantUUIDWithBytes, CFUUIDGetUUIDBytes, CFUUIDCreateString and
 * CFUUIDGetTypeID. Two UUID objects are CFEqual when their 16 bytes are.
 * A string must have the form XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX in hex
 * digits of either case, else the result is NULL. A constant UUID is made
 * once per distinct value and lives for the whole process: callers never
 * release it. */
#ifndef JOBLOG_STANDIN_CFUUID_H
#define JOBLOG_STANDIN_CFUUID_H

#include "CFBase.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef const struct OpaqueCFUUID* CFUUIDRef;

typedef struct CFUUIDBytes {
  UInt8 byte0, byte1, byte2, byte3, byte4, byte5, byte6, byte7;
  UInt8 byte8, byte9, byte10, byte11, byte12, byte13, byte14, byte15;
} CFUUIDBytes;

CFTypeID CFUUIDGetTypeID(void);
CFUUIDRef CFUUIDCreateFromString(CFAllocatorRef alloc, CFStringRef uuidStr);
CFUUIDRef CFUUIDCreateFromUUIDBytes(CFAllocatorRef alloc, CFUUIDBytes bytes);
CFUUIDRef CFUUIDGetConstantUUIDWithBytes(CFAllocatorRef alloc, UInt8 byte0, UInt8 byte1,
                                         UInt8 byte2, UInt8 byte3, UInt8 byte4, UInt8 byte5,
                                         UInt8 byte6, UInt8 byte7, UInt8 byte8, UInt8 byte9,
                                         UInt8 byte10, UInt8 byte11, UInt8 byte12,
                                         UInt8 byte13, UInt8 byte14, UInt8 byte15);
CFUUIDBytes CFUUIDGetUUIDBytes(CFUUIDRef uuid);
/* Upper-case hex in the form above. */
CFStringRef CFUUIDCreateString(CFAllocatorRef alloc, CFUUIDRef uuid);

#ifdef __cplusplus
}
#endif

#endif
