/* CFPropertyList.h: CFPropertyListCreateFromXMLData. Parses an XML (or
 * binary) property list with libplist into immutable objects: dictionaries,
 * arrays, strings, numbers, Booleans and data. Data that is not a property
 * list, or a list holding a date or a keyed-archive UID (types this
 * stand-in does not have), gives NULL and, when asked for, an error string
 * that the caller releases. libplist is lenient in one respect: a
 * dictionary's last key without a value is dropped rather than refused.
 * Only the immutable option is offered; the mutable ones give NULL. */
#ifndef JOBLOG_STANDIN_CFPROPERTYLIST_H
#define JOBLOG_STANDIN_CFPROPERTYLIST_H

#include "CFBase.h"
#include "CFData.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef CFTypeRef CFPropertyListRef;

typedef CFOptionFlags CFPropertyListMutabilityOptions;
enum {
  kCFPropertyListImmutable = 0
};

CFPropertyListRef CFPropertyListCreateFromXMLData(CFAllocatorRef allocator, CFDataRef xmlData,
                                                  CFOptionFlags mutabilityOption,
                                                  CFStringRef* errorString);

#ifdef __cplusplus
}
#endif

#endif
