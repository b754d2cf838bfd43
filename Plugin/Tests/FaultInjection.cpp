// The injected faults: a wrapper of calloc (the test links with
// --wrap=calloc) and an interposed SetControlVisibility that forwards to
// the platform's own.
#include "FaultInjection.h"

#include <dlfcn.h>

#include <cstdlib>

#include "PlatformSimulation.h"

namespace {

int gCallocSkip = -1;
ControlRef gRefusedControl = nullptr;
SInt32 gRefusedID = 0;
int gRefusedCount = 0;

}  // namespace

extern "C" void* __real_calloc(size_t count, size_t size);

extern "C" void* __wrap_calloc(size_t count, size_t size) {
  if (gCallocSkip == 0) {
    gCallocSkip = -1;
    return nullptr;
  }
  if (gCallocSkip > 0) --gCallocSkip;
  return __real_calloc(count, size);
}

void FailCallocAfter(int skip) { gCallocSkip = skip; }

void RefuseVisibilityFor(ControlRef control) {
  gRefusedControl = control;
  gRefusedID = 0;
  gRefusedCount = 0;
}

void RefuseVisibilityForID(SInt32 id) {
  gRefusedControl = nullptr;
  gRefusedID = id;
  gRefusedCount = 0;
}

int RefusedVisibilityCount() { return gRefusedCount; }

extern "C" OSErr SetControlVisibility(ControlRef inControl, Boolean inIsVisible, Boolean inDoDraw) {
  using Function = OSErr (*)(ControlRef, Boolean, Boolean);
  static const Function platform = reinterpret_cast<Function>(dlsym(RTLD_NEXT, "SetControlVisibility"));
  if (inControl != nullptr &&
      (inControl == gRefusedControl || (gRefusedID != 0 && SimGetControlID(inControl).id == gRefusedID))) {
    ++gRefusedCount;
    return errInvalidPartCode;
  }
  return platform(inControl, inIsVisible, inDoDraw);
}
