/* Sound.h: SysBeep. No sound is made; the beeps are counted for the dialog
 * host and the tests (PlatformSimulation.h). */
#ifndef JOBLOG_STANDIN_SOUND_H
#define JOBLOG_STANDIN_SOUND_H

#include "MacTypes.h"

#ifdef __cplusplus
extern "C" {
#endif

void SysBeep(SInt16 duration);

#ifdef __cplusplus
}
#endif

#endif
