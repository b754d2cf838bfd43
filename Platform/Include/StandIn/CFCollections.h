/* CFCollections.h: arrays and dictionaries: CFArrayCreateMutable,
 * CFArrayAppendValue, CFArrayGetCount, CFArrayGetValueAtIndex,
 * CFDictionaryGetCount, CFDictionaryGetValue, CFDictionaryGetValueIfPresent,
 * CFDictionaryContainsKey and their type IDs, with kCFTypeArrayCallBacks.
 * Reproduces the platform's ownership: an array made with
 * kCFTypeArrayCallBacks retains each value appended and releases them all
 * when it is freed; with NULL callbacks it stores the pointers as they are.
 * A capacity other than 0 is the most values the array may hold. Values
 * got from a collection are borrowed. Dictionaries come from property lists
 * and are immutable; keys are compared with CFEqual. An index outside the
 * array, or an append past the capacity, stops the program with a message,
 * as the platform's assertions do. */
#ifndef JOBLOG_STANDIN_CFCOLLECTIONS_H
#define JOBLOG_STANDIN_CFCOLLECTIONS_H

#include "CFBase.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef const struct OpaqueCFArray* CFArrayRef;
typedef struct OpaqueCFArray* CFMutableArrayRef;
typedef const struct OpaqueCFDictionary* CFDictionaryRef;

typedef const void* (*CFArrayRetainCallBack)(CFAllocatorRef allocator, const void* value);
typedef void (*CFArrayReleaseCallBack)(CFAllocatorRef allocator, const void* value);
typedef CFStringRef (*CFArrayCopyDescriptionCallBack)(const void* value);
typedef Boolean (*CFArrayEqualCallBack)(const void* value1, const void* value2);

typedef struct CFArrayCallBacks {
  CFIndex version;
  CFArrayRetainCallBack retain;
  CFArrayReleaseCallBack release;
  CFArrayCopyDescriptionCallBack copyDescription;
  CFArrayEqualCallBack equal;
} CFArrayCallBacks;

/* CFRetain, CFRelease and CFEqual on each value. */
extern const CFArrayCallBacks kCFTypeArrayCallBacks;

CFTypeID CFArrayGetTypeID(void);
CFMutableArrayRef CFArrayCreateMutable(CFAllocatorRef allocator, CFIndex capacity,
                                       const CFArrayCallBacks* callBacks);
void CFArrayAppendValue(CFMutableArrayRef theArray, const void* value);
CFIndex CFArrayGetCount(CFArrayRef theArray);
const void* CFArrayGetValueAtIndex(CFArrayRef theArray, CFIndex idx);

CFTypeID CFDictionaryGetTypeID(void);
CFIndex CFDictionaryGetCount(CFDictionaryRef theDict);
const void* CFDictionaryGetValue(CFDictionaryRef theDict, const void* key);
Boolean CFDictionaryGetValueIfPresent(CFDictionaryRef theDict, const void* key,
                                      const void** value);
Boolean CFDictionaryContainsKey(CFDictionaryRef theDict, const void* key);

#ifdef __cplusplus
}
#endif

#endif
