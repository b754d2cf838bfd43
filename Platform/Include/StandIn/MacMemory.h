/* MacMemory.h: NewPtr, DisposePtr and BlockMove. NewPtr returns NULL when
 * memory is short (and for a negative size); the dialog host and the tests
 * can make it fail on purpose (PlatformSimulation.h). BlockMove copies
 * bytes and tolerates overlapping ranges. */
#ifndef JOBLOG_STANDIN_MACMEMORY_H
#define JOBLOG_STANDIN_MACMEMORY_H

#include "MacTypes.h"

#ifdef __cplusplus
extern "C" {
#endif

Ptr NewPtr(Size byteCount);
void DisposePtr(Ptr p);
void BlockMove(const void* srcPtr, void* destPtr, Size byteCount);

#ifdef __cplusplus
}
#endif

#endif
