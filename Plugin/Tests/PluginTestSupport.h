// Helpers shared by the dialog extension's tests: string conversions, a
// fixture that fails a test which leaves Core Foundation objects behind,
// small bundles in temporary directories, and guards for environment
// variables.
#ifndef JOBLOG_PLUGIN_TESTSUPPORT_H
#define JOBLOG_PLUGIN_TESTSUPPORT_H

#include <gtest/gtest.h>
#include <stdlib.h>
#include <time.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "PlatformSimulation.h"

// The text of a string as UTF-8; "<null>" for NULL.
inline std::string Str(CFStringRef string) {
  if (string == nullptr) return "<null>";
  char buffer[4096];
  if (!CFStringGetCString(string, buffer, sizeof buffer, kCFStringEncodingUTF8)) return "<unconvertible>";
  return buffer;
}

// Takes over a string from a Create or Copy call: its text, then released.
inline std::string Take(CFStringRef string) {
  std::string text = Str(string);
  if (string != nullptr) CFRelease(string);
  return text;
}

// A string from UTF-8 that the caller releases.
inline CFStringRef MakeString(const std::string& utf8) {
  return CFStringCreateWithCString(nullptr, utf8.c_str(), kCFStringEncodingUTF8);
}

// Names parameterized cases by their `name` field.
template <typename Case>
std::string CaseName(const ::testing::TestParamInfo<Case>& tested) {
  return tested.param.name;
}

// Owns one reference to a Core Foundation object.
template <typename Ref>
class Owned {
 public:
  explicit Owned(Ref ref = nullptr) : ref_(ref) {}
  ~Owned() { reset(); }
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;
  Ref get() const { return ref_; }
  void reset(Ref ref = nullptr) {
    if (ref_ != nullptr) CFRelease(ref_);
    ref_ = ref;
  }

 private:
  Ref ref_;
};

// Each test starts from a clean process state (no alerts, beeps or scrap)
// and must leave no Core Foundation object behind.
class LeakCheckedTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SimResetState();
    liveAtStart_ = SimGetLiveCFObjectCount();
    uppsAtStart_ = SimGetLiveUPPCount();
  }
  void TearDown() override {
    SimResetState();  // recorded alerts hold their texts until now
    EXPECT_EQ(liveAtStart_, SimGetLiveCFObjectCount()) << "Core Foundation objects left behind";
    EXPECT_EQ(uppsAtStart_, SimGetLiveUPPCount()) << "routine descriptors left behind";
  }

 private:
  CFIndex liveAtStart_ = 0;
  long uppsAtStart_ = 0;
};

// A directory under /tmp, removed with everything in it.
class TempDir {
 public:
  TempDir() {
    char pattern[] = "/tmp/joblog-plugin-XXXXXX";
    path_ = mkdtemp(pattern);
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }

  // Writes bytes to path()/relative, making the directories on the way.
  void Write(const std::string& relative, const std::string& bytes) const {
    std::filesystem::path file = std::filesystem::path(path_) / relative;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
  }

 private:
  std::string path_;
};

// A bundle directory X.bundle in a temporary directory with an Info.plist
// naming the identifier; resources are added with Write.
class TempBundle {
 public:
  explicit TempBundle(const std::string& identifier) {
    dir_.Write("X.bundle/Contents/Info.plist",
               "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>\n"
               "<key>CFBundleIdentifier</key><string>" + identifier + "</string>\n"
               "<key>CFBundleDevelopmentRegion</key><string>en</string>\n</dict></plist>\n");
  }
  // Writes a file under Contents/Resources/.
  void WriteResource(const std::string& relative, const std::string& bytes) const {
    dir_.Write("X.bundle/Contents/Resources/" + relative, bytes);
  }
  std::string path() const { return dir_.path() + "/X.bundle"; }

 private:
  TempDir dir_;
};

// The bundle at path, created through a URL as a host does; the caller
// releases it.
inline CFBundleRef CreateBundleAt(const std::string& path) {
  CFStringRef text = MakeString(path);
  CFURLRef url = CFURLCreateWithFileSystemPath(nullptr, text, kCFURLPOSIXPathStyle, true);
  CFRelease(text);
  CFBundleRef bundle = CFBundleCreate(nullptr, url);
  CFRelease(url);
  return bundle;
}

// Sets (or with nullptr unsets) environment variables and puts the old
// values back when it goes.
class EnvGuard {
 public:
  EnvGuard() = default;
  EnvGuard(std::initializer_list<std::pair<const char*, const char*>> settings) {
    for (const auto& setting : settings) Set(setting.first, setting.second);
  }
  ~EnvGuard() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
      if (it->hadValue) setenv(it->name.c_str(), it->value.c_str(), 1);
      else unsetenv(it->name.c_str());
    }
    tzset();
  }
  EnvGuard(const EnvGuard&) = delete;
  EnvGuard& operator=(const EnvGuard&) = delete;

  void Set(const char* name, const char* value) {
    const char* old = getenv(name);
    saved_.push_back({name, old != nullptr, old != nullptr ? old : ""});
    if (value != nullptr) setenv(name, value, 1);
    else unsetenv(name);
    tzset();
  }

 private:
  struct Saved {
    std::string name;
    bool hadValue;
    std::string value;
  };
  std::vector<Saved> saved_;
};

// The variables that choose the user's language, all cleared, then LANG set
// to language (when given).
inline void ChooseLanguage(EnvGuard* guard, const char* language) {
  for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) guard->Set(name, nullptr);
  if (language != nullptr) guard->Set("LANG", language);
}

#endif
