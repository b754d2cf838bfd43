/* QuickDraw.h: OffsetRect, which moves a rectangle by dh horizontally and
 * dv vertically, its corners kept as SInt16 (wrapping as the platform's
 * 16-bit arithmetic does). */
#ifndef JOBLOG_STANDIN_QUICKDRAW_H
#define JOBLOG_STANDIN_QUICKDRAW_H

#include "MacTypes.h"

#ifdef __cplusplus
extern "C" {
#endif

void OffsetRect(Rect* r, SInt16 dh, SInt16 dv);

#ifdef __cplusplus
}
#endif

#endif
