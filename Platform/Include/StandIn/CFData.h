/* CFData.h: immutable byte buffers: CFDataCreate, CFDataGetLength,
 * CFDataGetBytePtr and CFDataGetTypeID. The data object keeps its own copy
 * of the bytes. */
#ifndef JOBLOG_STANDIN_CFDATA_H
#define JOBLOG_STANDIN_CFDATA_H

#include "CFBase.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef const struct OpaqueCFData* CFDataRef;

CFTypeID CFDataGetTypeID(void);
CFDataRef CFDataCreate(CFAllocatorRef allocator, const UInt8* bytes, CFIndex length);
CFIndex CFDataGetLength(CFDataRef theData);
const UInt8* CFDataGetBytePtr(CFDataRef theData);

#ifdef __cplusplus
}
#endif

#endif
