// Test helpers for code that runs on the platform stand-in: string
// conversions, ownership of one reference, a fixture that fails a test which
// leaves Core Foundation objects or routine descriptors behind, temporary
// directories and bundles, and a guard for environment variables.
#ifndef JOBLOG_STANDIN_TEST_H
#define JOBLOG_STANDIN_TEST_H

#include <gtest/gtest.h>
#include <stdlib.h>
#include <time.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
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
// and must leave no Core Foundation object and no routine descriptor behind.
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

// Puts text into an edit text (a password edit text's password) as a program
// would, past its key filter and length limit.
inline void ForceText(ControlRef control, const char* text) {
  CFStringRef value = MakeString(text);
  SetControlData(control, kControlEditTextPart,
                 SimGetControlKind(control) == kSimControlPasswordEditText ? kControlEditTextPasswordCFStringTag
                                                                        : kControlEditTextCFStringTag,
                 sizeof(value), &value);
  CFRelease(value);
}

// A directory under /tmp, removed with everything in it.
class TempDir {
 public:
  TempDir() {
    char pattern[] = "/tmp/joblog-test-XXXXXX";
    path_ = mkdtemp(pattern);
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }

  // Writes bytes to path()/relative, making the directories on the way;
  // returns the file's path.
  std::string Write(const std::string& relative, const std::string& bytes) const {
    std::filesystem::path file = std::filesystem::path(path_) / relative;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
    return file.string();
  }
  void MakeDirectory(const std::string& relative) const {
    std::filesystem::create_directories(std::filesystem::path(path_) / relative);
  }

 private:
  std::string path_;
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
