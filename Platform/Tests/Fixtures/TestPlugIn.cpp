// A tiny plug-in for the platform tests: one factory that makes a
// COM-style instance counted with CFPlugIn, built into the fixture bundle
// TestPlugIn.plugin and found there by dlsym.
#include <cstdlib>

#include "JobLogPlatform.h"

namespace {

#define kTypeID "2F8D4A61-3C7B-4D9E-8A15-0E6F7B8C9D21"
#define kFactoryID "6A4F1C2E-0B5D-4E8A-9C31-7D2E5F6A8B90"

struct Instance {
  IUnknownVTbl* vtable;
  IUnknownVTbl vtableStorage;
  CFUUIDRef factoryID;
  ULONG refCount;
};

ULONG AddRef(void* self) { return ++static_cast<Instance*>(self)->refCount; }

ULONG Release(void* self) {
  auto* instance = static_cast<Instance*>(self);
  if (--instance->refCount > 0) return instance->refCount;
  CFPlugInRemoveInstanceForFactory(instance->factoryID);
  CFRelease(instance->factoryID);
  std::free(instance);
  return 0;
}

HRESULT QueryInterface(void* self, REFIID iid, LPVOID* out) {
  CFUUIDRef requested = CFUUIDCreateFromUUIDBytes(kCFAllocatorDefault, iid);
  HRESULT result = E_NOINTERFACE;
  *out = nullptr;
  if (CFEqual(requested, IUnknownUUID)) {
    AddRef(self);
    *out = self;
    result = S_OK;
  }
  CFRelease(requested);
  return result;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) void* TestPlugInFactory(CFAllocatorRef,
                                                                          CFUUIDRef typeID) {
  CFUUIDRef ourType = CFUUIDCreateFromString(kCFAllocatorDefault, CFSTR(kTypeID));
  bool wanted = CFEqual(typeID, ourType);
  CFRelease(ourType);
  if (!wanted) return nullptr;
  auto* instance = static_cast<Instance*>(std::calloc(1, sizeof(Instance)));
  instance->vtable = &instance->vtableStorage;
  instance->vtableStorage.QueryInterface = QueryInterface;
  instance->vtableStorage.AddRef = AddRef;
  instance->vtableStorage.Release = Release;
  instance->factoryID = CFUUIDCreateFromString(kCFAllocatorDefault, CFSTR(kFactoryID));
  instance->refCount = 1;
  CFPlugInAddInstanceForFactory(instance->factoryID);
  return instance;
}

// The bundle as the plug-in's own code finds it by identifier, which needs
// the host and the plug-in to share one registry of bundles.
extern "C" __attribute__((visibility("default"))) CFBundleRef TestPlugInOwnBundle(void) {
  return CFBundleGetBundleWithIdentifier(CFSTR("com.zelvo.test.PlatformTestPlugIn"));
}
