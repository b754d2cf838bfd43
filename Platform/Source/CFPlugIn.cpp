// Plug-ins: the factories and types that bundles register through their
// Info.plist, calling a factory, and the per-factory instance counts.
#include <cstring>
#include <vector>

#include "BundleInternal.h"
#include "PlatformSimulation.h"

namespace {

bool SameBytes(const CFUUIDBytes& a, const CFUUIDBytes& b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

struct Factory {
  CFUUIDBytes id;
  OpaqueCFBundle* bundle;
  std::string functionName;
};

struct TypeEntry {
  CFUUIDBytes type;
  CFUUIDBytes factory;
  OpaqueCFBundle* bundle;
};

struct InstanceCount {
  CFUUIDBytes factory;
  long count;
  CFBundleRef held;  // the registered factory's bundle, kept alive while count > 0
};

std::vector<Factory>& Factories() {
  static auto* factories = new std::vector<Factory>();
  return *factories;
}

std::vector<TypeEntry>& Types() {
  static auto* types = new std::vector<TypeEntry>();
  return *types;
}

std::vector<InstanceCount>& Counts() {
  static auto* counts = new std::vector<InstanceCount>();
  return *counts;
}

const Factory* FindFactory(const CFUUIDBytes& id) {
  for (const Factory& factory : Factories()) {
    if (SameBytes(factory.id, id)) return &factory;
  }
  return nullptr;
}

bool ParseUUID(CFTypeRef text, CFUUIDBytes* bytes) {
  if (text == nullptr || CFGetTypeID(text) != CFStringGetTypeID()) return false;
  CFUUIDRef uuid = CFUUIDCreateFromString(nullptr, static_cast<CFStringRef>(text));
  if (uuid == nullptr) return false;
  *bytes = CFUUIDGetUUIDBytes(uuid);
  CFRelease(uuid);
  return true;
}

const void* DictionaryValue(CFDictionaryRef dictionary, CFStringRef key) {
  CFTypeRef value = CFDictionaryGetValue(dictionary, key);
  return value != nullptr && CFGetTypeID(value) == CFDictionaryGetTypeID() ? value : nullptr;
}

}  // namespace

namespace standin {

void RegisterPlugIn(OpaqueCFBundle* bundle) {
  auto factories = static_cast<CFDictionaryRef>(DictionaryValue(bundle->info, CFSTR("CFPlugInFactories")));
  auto types = static_cast<CFDictionaryRef>(DictionaryValue(bundle->info, CFSTR("CFPlugInTypes")));
  if (factories == nullptr) return;
  const auto* factoryTable = static_cast<const OpaqueCFDictionary*>(Object(factories));
  for (const auto& entry : factoryTable->entries) {
    Factory factory{{}, bundle, std::string()};
    if (!ParseUUID(entry.first, &factory.id) || CFGetTypeID(entry.second) != CFStringGetTypeID()) {
      Warn("%s: CFPlugInFactories: an entry is not a UUID string and a function name", bundle->path.c_str());
      continue;
    }
    if (FindFactory(factory.id) != nullptr) {
      Warn("%s: factory %s is registered already", bundle->path.c_str(), UTF8(static_cast<CFStringRef>(entry.first)).c_str());
      continue;
    }
    factory.functionName = UTF8(static_cast<CFStringRef>(entry.second));
    Factories().push_back(factory);
  }
  if (types == nullptr) return;
  const auto* typeTable = static_cast<const OpaqueCFDictionary*>(Object(types));
  for (const auto& entry : typeTable->entries) {
    CFUUIDBytes type;
    if (!ParseUUID(entry.first, &type) || CFGetTypeID(entry.second) != CFArrayGetTypeID()) {
      Warn("%s: CFPlugInTypes: an entry is not a UUID string and an array", bundle->path.c_str());
      continue;
    }
    CFArrayRef list = static_cast<CFArrayRef>(entry.second);
    for (CFIndex i = 0; i < CFArrayGetCount(list); ++i) {
      CFUUIDBytes factory;
      if (!ParseUUID(CFArrayGetValueAtIndex(list, i), &factory)) {
        Warn("%s: CFPlugInTypes: a factory is not a UUID string", bundle->path.c_str());
        continue;
      }
      const Factory* known = FindFactory(factory);
      if (known == nullptr || known->bundle != bundle) {
        Warn("%s: CFPlugInTypes names a factory the bundle does not register", bundle->path.c_str());
        continue;
      }
      Types().push_back({type, factory, bundle});
    }
  }
}

void UnregisterPlugIn(OpaqueCFBundle* bundle) {
  auto& factories = Factories();
  for (auto it = factories.begin(); it != factories.end();) {
    it = it->bundle == bundle ? factories.erase(it) : it + 1;
  }
  auto& types = Types();
  for (auto it = types.begin(); it != types.end();) {
    it = it->bundle == bundle ? types.erase(it) : it + 1;
  }
}

}  // namespace standin

CFTypeID CFPlugInGetTypeID(void) { return CFBundleGetTypeID(); }

CFPlugInRef CFPlugInCreate(CFAllocatorRef allocator, CFURLRef plugInURL) {
  return CFBundleCreate(allocator, plugInURL);
}

CFArrayRef CFPlugInFindFactoriesForPlugInType(CFUUIDRef typeUUID) {
  CFMutableArrayRef result = CFArrayCreateMutable(nullptr, 0, &kCFTypeArrayCallBacks);
  const CFUUIDBytes type = CFUUIDGetUUIDBytes(typeUUID);
  for (const TypeEntry& entry : Types()) {
    if (!SameBytes(entry.type, type)) continue;
    CFUUIDRef factory = CFUUIDCreateFromUUIDBytes(nullptr, entry.factory);
    CFArrayAppendValue(result, factory);
    CFRelease(factory);
  }
  return result;
}

void* CFPlugInInstanceCreate(CFAllocatorRef allocator, CFUUIDRef factoryUUID, CFUUIDRef typeUUID) {
  const CFUUIDBytes id = CFUUIDGetUUIDBytes(factoryUUID);
  const CFUUIDBytes type = CFUUIDGetUUIDBytes(typeUUID);
  const Factory* factory = FindFactory(id);
  if (factory == nullptr) return nullptr;
  bool makesType = false;
  for (const TypeEntry& entry : Types()) {
    if (SameBytes(entry.factory, id) && SameBytes(entry.type, type)) makesType = true;
  }
  if (!makesType) return nullptr;
  // Copy what is needed: loading the executable may run code that registers.
  OpaqueCFBundle* bundle = factory->bundle;
  CFStringRef name = standin::NewStringFromUTF8(factory->functionName);
  void* symbol = name != nullptr ? CFBundleGetFunctionPointerForName(bundle, name) : nullptr;
  if (name != nullptr) CFRelease(name);
  if (symbol == nullptr) {
    standin::Warn("%s: no factory function %s", bundle->path.c_str(), factory->functionName.c_str());
    return nullptr;
  }
  auto function = reinterpret_cast<CFPlugInFactoryFunction>(symbol);
  return function(allocator, typeUUID);
}

void CFPlugInAddInstanceForFactory(CFUUIDRef factoryID) {
  const CFUUIDBytes id = CFUUIDGetUUIDBytes(factoryID);
  for (InstanceCount& entry : Counts()) {
    if (SameBytes(entry.factory, id)) {
      ++entry.count;
      return;
    }
  }
  const Factory* factory = FindFactory(id);
  CFBundleRef held = factory != nullptr ? factory->bundle : nullptr;
  if (held != nullptr) CFRetain(held);
  Counts().push_back({id, 1, held});
}

void CFPlugInRemoveInstanceForFactory(CFUUIDRef factoryID) {
  const CFUUIDBytes id = CFUUIDGetUUIDBytes(factoryID);
  auto& counts = Counts();
  for (auto it = counts.begin(); it != counts.end(); ++it) {
    if (!SameBytes(it->factory, id)) continue;
    if (--it->count == 0) {
      CFBundleRef held = it->held;
      counts.erase(it);
      if (held != nullptr) CFRelease(held);  // may free the bundle and unregister it
    }
    return;
  }
}

long SimGetFactoryInstanceCount(CFUUIDRef factoryID) {
  const CFUUIDBytes id = CFUUIDGetUUIDBytes(factoryID);
  for (const InstanceCount& entry : Counts()) {
    if (SameBytes(entry.factory, id)) return entry.count;
  }
  return 0;
}
