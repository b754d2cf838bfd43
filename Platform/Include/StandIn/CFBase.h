/* CFBase.h: Core Foundation's object model: CFTypeRef, CFIndex, allocators,
 * CFRetain, CFRelease, CFGetRetainCount, CFEqual and CFGetTypeID.
 * Reproduces the platform's reference counting: an object starts with one
 * reference, which belongs to whoever called the Create or Copy function;
 * the last CFRelease frees it. Constants (CFSTR strings, constant UUIDs, the
 * two Booleans) are never freed and ignore CFRetain and CFRelease.
 * Releasing NULL, or an object whose count is already 0, is a programming
 * error on the platform; here it stops the program with a message. Only the
 * default allocator exists: every allocator argument is accepted and ignored. */
#ifndef JOBLOG_STANDIN_CFBASE_H
#define JOBLOG_STANDIN_CFBASE_H

#include "MacTypes.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef const void* CFTypeRef;
typedef signed long CFIndex;
typedef unsigned long CFOptionFlags;
typedef unsigned long CFTypeID;

typedef const struct OpaqueCFAllocator* CFAllocatorRef;
typedef const struct OpaqueCFString* CFStringRef;

/* The default allocator is NULL, as on the platform. */
extern const CFAllocatorRef kCFAllocatorDefault;

typedef CFIndex CFComparisonResult;
enum {
  kCFCompareLessThan = -1,
  kCFCompareEqualTo = 0,
  kCFCompareGreaterThan = 1
};

CFTypeRef CFRetain(CFTypeRef object);
void CFRelease(CFTypeRef object);
CFIndex CFGetRetainCount(CFTypeRef object);
Boolean CFEqual(CFTypeRef object1, CFTypeRef object2);
CFTypeID CFGetTypeID(CFTypeRef object);

#ifdef __cplusplus
}
#endif

#endif
