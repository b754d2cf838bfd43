// Helpers shared by the platform stand-in's tests: a fixture that fails a
// test which leaves Core Foundation objects behind, temporary bundle
// directories, a guard for the locale variables, and string conversions.
#ifndef JOBLOG_PLATFORM_TESTSUPPORT_H
#define JOBLOG_PLATFORM_TESTSUPPORT_H

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <cstdio>
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

// Takes over a string made by a Create or Copy call, returns its text and
// releases it.
inline std::string Take(CFStringRef string) {
  std::string text = Str(string);
  if (string != nullptr) CFRelease(string);
  return text;
}

// A string made from UTF-8 that the caller releases.
inline CFStringRef MakeString(const std::string& utf8) {
  return CFStringCreateWithCString(nullptr, utf8.c_str(), kCFStringEncodingUTF8);
}

// Names parameterized cases by their `name` field.
template <typename Case>
std::string CaseName(const ::testing::TestParamInfo<Case>& tested) {
  return tested.param.name;
}

// Each test starts from a clean process state and must leave no Core
// Foundation object behind.
class PlatformTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SimResetState();
    liveAtStart_ = SimGetLiveCFObjectCount();
  }
  void TearDown() override {
    SimResetState();  // recorded alerts hold their texts until now
    EXPECT_EQ(liveAtStart_, SimGetLiveCFObjectCount()) << "Core Foundation objects left behind";
  }

 private:
  CFIndex liveAtStart_ = 0;
};

// A directory under /tmp, removed with everything in it.
class TempDir {
 public:
  TempDir() {
    char pattern[] = "/tmp/joblog-platform-XXXXXX";
    path_ = mkdtemp(pattern);
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::string& path() const { return path_; }

  // Writes bytes to path()/relative, making the directories on the way.
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

// A minimal Info.plist with the identifier and the extra keys given as XML.
inline std::string InfoPlist(const std::string& identifier, const std::string& extraXML = "") {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<plist version=\"1.0\"><dict>\n"
         "<key>CFBundleIdentifier</key><string>" + identifier + "</string>\n" + extraXML +
         "</dict></plist>\n";
}

// The bundle at path, created through a URL as the host does; the caller
// releases it.
inline CFBundleRef CreateBundleAt(const std::string& path) {
  CFStringRef text = MakeString(path);
  CFURLRef url = CFURLCreateWithFileSystemPath(nullptr, text, kCFURLPOSIXPathStyle, true);
  CFRelease(text);
  CFBundleRef bundle = CFBundleCreate(nullptr, url);
  CFRelease(url);
  return bundle;
}

// Clears the variables that choose the user's language and puts them back.
class LocaleGuard {
 public:
  LocaleGuard() {
    for (const char* name : kNames) {
      const char* value = getenv(name);
      saved_.emplace_back(name, value != nullptr ? std::make_pair(true, std::string(value))
                                                 : std::make_pair(false, std::string()));
      unsetenv(name);
    }
  }
  ~LocaleGuard() {
    for (auto& entry : saved_) {
      if (entry.second.first) setenv(entry.first.c_str(), entry.second.second.c_str(), 1);
      else unsetenv(entry.first.c_str());
    }
  }

 private:
  static constexpr const char* kNames[] = {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"};
  std::vector<std::pair<std::string, std::pair<bool, std::string>>> saved_;
};

// The window "Window" of the fixture bundle's Sample.nib:
//   'test' 1    edit text "initial"
//   'test' 2    popup button First (marked) / Second / Third, value 2, command 'kind'
//   'test' 3    password edit text
//   'test' 4    checkbox "Use it", command 'chck'
//   'test' 103  static text "4 digits", disabled
// and a dialog window (the host's) with a user pane to embed them in.
class SampleNibTest : public PlatformTest {
 protected:
  static constexpr OSType kSignature = 0x74657374;  // 'test'

  void SetUp() override {
    PlatformTest::SetUp();
    bundle_ = CreateBundleAt(TEST_PLUGIN_BUNDLE);
    ASSERT_NE(nullptr, bundle_);
    ASSERT_EQ(noErr, CreateNibReferenceWithCFBundle(bundle_, CFSTR("Sample"), &nib_));
    ASSERT_EQ(noErr, CreateWindowFromNib(nib_, CFSTR("Window"), &window_));
    const Rect dialogBounds = {50, 50, 450, 650};
    dialog_ = SimCreateWindow(&dialogBounds);
    const Rect paneBounds = {20, 10, 320, 410};
    pane_ = SimCreateUserPane(dialog_, nullptr, &paneBounds);
  }
  void TearDown() override {
    if (window_ != nullptr) DisposeWindow(window_);
    if (dialog_ != nullptr) DisposeWindow(dialog_);
    if (nib_ != nullptr) DisposeNibReference(nib_);
    if (bundle_ != nullptr) CFRelease(bundle_);
    PlatformTest::TearDown();
  }

  ControlRef Control(SInt32 id, WindowRef window = nullptr) {
    const ControlID controlID = {kSignature, id};
    ControlRef control = nullptr;
    GetControlByID(window != nullptr ? window : window_, &controlID, &control);
    return control;
  }

  // The control's text as the simulation reads it (a password's clear text).
  static std::string TextOf(ControlRef control) { return Take(SimCopyControlText(control)); }

  CFBundleRef bundle_ = nullptr;
  IBNibRef nib_ = nullptr;
  WindowRef window_ = nullptr;
  WindowRef dialog_ = nullptr;
  ControlRef pane_ = nullptr;
};

#endif
