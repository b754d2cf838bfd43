// Faults that the platform does not produce on its own, injected into the
// pane's code linked into the unit tests: an exhausted heap (calloc, which
// the link wraps) and a control whose visibility cannot be set. Unarmed,
// both pass every call through.
#ifndef JOBLOG_PLUGIN_FAULTINJECTION_H
#define JOBLOG_PLUGIN_FAULTINJECTION_H

#include "JobLogPlatform.h"

// The calloc calls of the linked code: after `skip` more calls succeed, the
// next one returns NULL. A negative skip disarms it.
void FailCallocAfter(int skip);

// SetControlVisibility fails for this control (NULL: for none), or for the
// controls with this ID number (0: for none), and counts how often it was
// asked.
void RefuseVisibilityFor(ControlRef control);
void RefuseVisibilityForID(SInt32 id);
int RefusedVisibilityCount();

#endif
