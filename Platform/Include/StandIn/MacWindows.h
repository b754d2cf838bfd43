/* MacWindows.h: windows: GetWindowBounds for the content region and
 * DisposeWindow. A window holds a root control, which holds the window's
 * controls; disposing the window disposes every control still in it (and
 * their event handlers), while controls embedded elsewhere before live on.
 * Windows come from nibs (IBCarbonRuntime.h) or, for the dialog host, from
 * the simulation calls. Content bounds are in global coordinates; control
 * bounds are local to the window's content area. */
#ifndef JOBLOG_STANDIN_MACWINDOWS_H
#define JOBLOG_STANDIN_MACWINDOWS_H

#include "HIToolboxTypes.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef UInt16 WindowRegionCode;
enum {
  kWindowContentRgn = 33
};

/* Only kWindowContentRgn is offered; another region gives paramErr. */
OSStatus GetWindowBounds(WindowRef window, WindowRegionCode regionCode, Rect* globalBounds);
void DisposeWindow(WindowRef window);

#ifdef __cplusplus
}
#endif

#endif
