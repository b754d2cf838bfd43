// Bundles: the directory layout, the registry of live bundles, loading the
// executable, the user's localization, resource lookup and strings tables.
#include <dlfcn.h>
#include <sys/stat.h>

#include <climits>
#include <cstdlib>
#include <vector>

#include "BundleInternal.h"

using standin::Checked;
using standin::kTypeIDBundle;

namespace {

// Live bundles, oldest first; a bundle leaves the list when it is freed.
std::vector<OpaqueCFBundle*>& LiveBundles() {
  static auto* bundles = new std::vector<OpaqueCFBundle*>();
  return *bundles;
}

bool IsDirectory(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool Exists(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0;
}

std::string InfoString(OpaqueCFBundle* bundle, CFStringRef key) {
  CFTypeRef value = CFDictionaryGetValue(bundle->info, key);
  if (value == nullptr || CFGetTypeID(value) != CFStringGetTypeID()) return std::string();
  return standin::UTF8(static_cast<CFStringRef>(value));
}

// "de_DE.UTF-8@euro" -> "de_DE", "de"; "C" and "POSIX" name no language.
void AddLanguage(std::string name, std::vector<std::string>* languages) {
  size_t cut = name.find_first_of(".@");
  if (cut != std::string::npos) name.erase(cut);
  if (name.empty() || name == "C" || name == "POSIX") return;
  languages->push_back(name);
  size_t underscore = name.find('_');
  if (underscore != std::string::npos && underscore > 0) languages->push_back(name.substr(0, underscore));
}

std::vector<std::string> UserLanguages() {
  std::vector<std::string> languages;
  if (const char* list = std::getenv("LANGUAGE")) {
    std::string rest = list;
    size_t start = 0;
    while (start <= rest.size()) {
      size_t colon = rest.find(':', start);
      if (colon == std::string::npos) colon = rest.size();
      AddLanguage(rest.substr(start, colon - start), &languages);
      start = colon + 1;
    }
  }
  for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && *value != '\0') {
      AddLanguage(value, &languages);
      break;
    }
  }
  return languages;
}

// The .lproj directory chosen for the bundle, "" when it has none of them.
std::string Localization(OpaqueCFBundle* bundle) {
  const std::string resources = bundle->path + "/Contents/Resources/";
  std::vector<std::string> candidates = UserLanguages();
  candidates.push_back(InfoString(bundle, CFSTR("CFBundleDevelopmentRegion")));
  candidates.push_back("en");
  for (const std::string& language : candidates) {
    if (!language.empty() && IsDirectory(resources + language + ".lproj")) {
      return resources + language + ".lproj";
    }
  }
  return std::string();
}

CFDictionaryRef StringsTable(OpaqueCFBundle* bundle, const std::string& tableName) {
  const std::string file = standin::FindResource(bundle, tableName, "strings", "");
  if (file.empty()) return nullptr;
  auto cached = bundle->tables.find(file);
  if (cached != bundle->tables.end()) return cached->second;
  std::string bytes;
  int error = 0;
  CFDictionaryRef table = nullptr;
  if (standin::ReadFile(file, &bytes, &error)) {
    std::string problem;
    table = standin::ParseStringsTable(bytes, &problem);
    if (table == nullptr) standin::Warn("%s: %s; the table counts as empty", file.c_str(), problem.c_str());
  }
  bundle->tables[file] = table;
  return table;
}

}  // namespace

OpaqueCFBundle::OpaqueCFBundle(std::string directory, CFDictionaryRef infoDictionary)
    : CFObject(kTypeIDBundle, false), path(std::move(directory)), info(infoDictionary) {
  LiveBundles().push_back(this);
}

OpaqueCFBundle::~OpaqueCFBundle() {
  standin::UnregisterPlugIn(this);
  auto& bundles = LiveBundles();
  for (auto it = bundles.begin(); it != bundles.end(); ++it) {
    if (*it == this) {
      bundles.erase(it);
      break;
    }
  }
  for (auto& table : tables) {
    if (table.second != nullptr) CFRelease(table.second);
  }
  CFRelease(info);
}

bool OpaqueCFBundle::Equals(const CFObject& other) const { return this == &other; }

namespace standin {

OpaqueCFBundle* Bundle(CFBundleRef bundle) {
  return const_cast<OpaqueCFBundle*>(Checked<OpaqueCFBundle>(bundle, kTypeIDBundle, "CFBundle"));
}

std::string FindResource(OpaqueCFBundle* bundle, const std::string& name, const std::string& type,
                         const std::string& subDirectory) {
  std::string file = name;
  if (!type.empty()) file += type[0] == '.' ? type : "." + type;
  std::string sub = subDirectory.empty() ? std::string() : subDirectory + "/";
  std::vector<std::string> places;
  std::string localization = Localization(bundle);
  if (!localization.empty()) places.push_back(localization + "/" + sub + file);
  places.push_back(bundle->path + "/Contents/Resources/" + sub + file);
  for (const std::string& place : places) {
    if (Exists(place)) return place;
  }
  return std::string();
}

}  // namespace standin

CFTypeID CFBundleGetTypeID(void) { return kTypeIDBundle; }

CFBundleRef CFBundleCreate(CFAllocatorRef, CFURLRef bundleURL) {
  if (bundleURL == nullptr) return nullptr;
  char resolved[PATH_MAX];
  if (realpath(standin::Path(bundleURL).c_str(), resolved) == nullptr || !IsDirectory(resolved)) {
    return nullptr;
  }
  const std::string directory = resolved;
  for (OpaqueCFBundle* live : LiveBundles()) {
    if (live->path == directory) {
      CFRetain(live);
      return live;
    }
  }
  const std::string infoPath = directory + "/Contents/Info.plist";
  std::string bytes;
  int error = 0;
  if (!standin::ReadFile(infoPath, &bytes, &error)) return nullptr;
  std::string problem;
  CFTypeRef info = standin::ParsePropertyList(bytes, &problem);
  if (info == nullptr || CFGetTypeID(info) != CFDictionaryGetTypeID()) {
    standin::Warn("%s: %s", infoPath.c_str(), info == nullptr ? problem.c_str() : "not a dictionary");
    if (info != nullptr) CFRelease(info);
    return nullptr;
  }
  auto* bundle = new OpaqueCFBundle(directory, static_cast<CFDictionaryRef>(info));
  standin::RegisterPlugIn(bundle);
  return bundle;
}

CFBundleRef CFBundleGetBundleWithIdentifier(CFStringRef bundleID) {
  if (bundleID == nullptr) return nullptr;
  // The most recently made bundle wins when two share an identifier.
  auto& bundles = LiveBundles();
  for (auto it = bundles.rbegin(); it != bundles.rend(); ++it) {
    CFStringRef identifier = CFBundleGetIdentifier(*it);
    if (identifier != nullptr && CFEqual(identifier, bundleID)) return *it;
  }
  return nullptr;
}

CFStringRef CFBundleGetIdentifier(CFBundleRef bundle) {
  CFTypeRef value = CFDictionaryGetValue(standin::Bundle(bundle)->info, CFSTR("CFBundleIdentifier"));
  if (value == nullptr || CFGetTypeID(value) != CFStringGetTypeID()) return nullptr;
  return static_cast<CFStringRef>(value);
}

Boolean CFBundleLoadExecutable(CFBundleRef bundle) {
  OpaqueCFBundle* b = standin::Bundle(bundle);
  if (b->handle != nullptr) return true;
  const std::string executable = InfoString(b, CFSTR("CFBundleExecutable"));
  if (executable.empty()) {
    standin::Warn("%s: Info.plist names no CFBundleExecutable", b->path.c_str());
    return false;
  }
  const std::string file = b->path + "/Contents/MacOS/" + executable;
  b->handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (b->handle == nullptr) {
    standin::Warn("cannot load %s: %s", file.c_str(), dlerror());
    return false;
  }
  return true;
}

void* CFBundleGetFunctionPointerForName(CFBundleRef bundle, CFStringRef functionName) {
  if (functionName == nullptr || !CFBundleLoadExecutable(bundle)) return nullptr;
  return dlsym(standin::Bundle(bundle)->handle, standin::UTF8(functionName).c_str());
}

CFURLRef CFBundleCopyResourceURL(CFBundleRef bundle, CFStringRef resourceName,
                                 CFStringRef resourceType, CFStringRef subDirName) {
  if (resourceName == nullptr) return nullptr;
  std::string file = standin::FindResource(
      standin::Bundle(bundle), standin::UTF8(resourceName),
      resourceType != nullptr ? standin::UTF8(resourceType) : std::string(),
      subDirName != nullptr ? standin::UTF8(subDirName) : std::string());
  if (file.empty()) return nullptr;
  return standin::NewFileURL(file, IsDirectory(file));
}

CFStringRef CFBundleCopyLocalizedString(CFBundleRef bundle, CFStringRef key, CFStringRef value,
                                        CFStringRef tableName) {
  if (bundle == nullptr || key == nullptr) return nullptr;
  OpaqueCFBundle* b = standin::Bundle(bundle);
  CFDictionaryRef table =
      StringsTable(b, tableName != nullptr ? standin::UTF8(tableName) : "Localizable");
  CFTypeRef found = table != nullptr ? CFDictionaryGetValue(table, key) : nullptr;
  if (found != nullptr) return CFStringCreateCopy(nullptr, static_cast<CFStringRef>(found));
  if (value != nullptr && CFStringGetLength(value) > 0) return CFStringCreateCopy(nullptr, value);
  return CFStringCreateCopy(nullptr, key);
}
