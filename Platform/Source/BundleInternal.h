// The bundle object, shared by the bundle, plug-in and nib sources.
#ifndef JOBLOG_PLATFORM_BUNDLEINTERNAL_H
#define JOBLOG_PLATFORM_BUNDLEINTERNAL_H

#include <map>
#include <string>

#include "CFInternal.h"

struct OpaqueCFBundle : standin::CFObject {
  OpaqueCFBundle(std::string directory, CFDictionaryRef infoDictionary);
  ~OpaqueCFBundle() override;
  bool Equals(const CFObject& other) const override;

  std::string path;      // the bundle directory, canonical
  CFDictionaryRef info;  // Contents/Info.plist, owned
  void* handle = nullptr;
  std::map<std::string, CFDictionaryRef> tables;  // parsed strings tables by file; owned, NULL if broken
};

namespace standin {

OpaqueCFBundle* Bundle(CFBundleRef bundle);
// The path of name.type as CFBundleCopyResourceURL finds it; "" if none.
std::string FindResource(OpaqueCFBundle* bundle, const std::string& name, const std::string& type,
                         const std::string& subDirectory);
// A strings table's entries, or NULL (with the first fault in *problem).
CFDictionaryRef ParseStringsTable(const std::string& bytes, std::string* problem);

// Plug-in registration from a bundle's Info.plist, for the bundle's life.
void RegisterPlugIn(OpaqueCFBundle* bundle);
void UnregisterPlugIn(OpaqueCFBundle* bundle);

}  // namespace standin

#endif
