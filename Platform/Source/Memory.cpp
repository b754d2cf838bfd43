// Pointer memory, BlockMove and the beep.
#include <cstdlib>
#include <cstring>

#include "HIToolboxInternal.h"

namespace {

int gNewPtrFailures = 0;
UInt32 gBeeps = 0;

}  // namespace

namespace standin {

void ResetBeeps() { gBeeps = 0; }
void ResetNewPtrFailures() { gNewPtrFailures = 0; }

}  // namespace standin

Ptr NewPtr(Size byteCount) {
  if (byteCount < 0) return nullptr;
  if (gNewPtrFailures > 0) {
    --gNewPtrFailures;
    return nullptr;
  }
  return static_cast<Ptr>(std::malloc(byteCount > 0 ? static_cast<size_t>(byteCount) : 1));
}

void DisposePtr(Ptr p) { std::free(p); }

void BlockMove(const void* srcPtr, void* destPtr, Size byteCount) {
  if (byteCount > 0) std::memmove(destPtr, srcPtr, static_cast<size_t>(byteCount));
}

void SysBeep(SInt16) { ++gBeeps; }

void SimFailNextNewPtr(int count) { gNewPtrFailures = count > 0 ? count : 0; }

UInt32 SimGetBeepCount(void) { return gBeeps; }
