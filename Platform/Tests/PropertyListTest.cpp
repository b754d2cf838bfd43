// Property lists parsed from XML data into immutable objects.
#include "TestSupport.h"

namespace {

using PropertyListTest = PlatformTest;

CFPropertyListRef Parse(const std::string& text, std::string* error = nullptr) {
  CFDataRef data = CFDataCreate(nullptr, reinterpret_cast<const UInt8*>(text.data()),
                                static_cast<CFIndex>(text.size()));
  CFStringRef errorString = nullptr;
  CFPropertyListRef result =
      CFPropertyListCreateFromXMLData(nullptr, data, kCFPropertyListImmutable, &errorString);
  CFRelease(data);
  std::string message = Take(errorString);
  if (error != nullptr) *error = message;
  return result;
}

std::string Plist(const std::string& body) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">" + body + "</plist>\n";
}

TEST_F(PropertyListTest, DictionaryRootWithEveryType) {
  CFPropertyListRef list = Parse(Plist(
      "<dict>"
      "<key>Models</key><array>"
      "  <dict><key>ModelName</key><string>Zelvo MP 2550</string>"
      "        <key>HasDocumentServer</key><true/><key>LongPasswordSupport</key><false/></dict>"
      "</array>"
      "<key>Count</key><integer>-5</integer>"
      "<key>Ratio</key><real>0.25</real>"
      "<key>Bytes</key><data>AAEC</data>"
      "<key>Name</key><string>Auftragsprotokoll f&#252;r alle</string>"
      "</dict>"));
  ASSERT_NE(nullptr, list);
  ASSERT_EQ(CFDictionaryGetTypeID(), CFGetTypeID(list));
  auto root = static_cast<CFDictionaryRef>(list);
  EXPECT_EQ(5, CFDictionaryGetCount(root));

  auto models = static_cast<CFArrayRef>(CFDictionaryGetValue(root, CFSTR("Models")));
  ASSERT_NE(nullptr, models);
  ASSERT_EQ(CFArrayGetTypeID(), CFGetTypeID(models));
  ASSERT_EQ(1, CFArrayGetCount(models));
  auto model = static_cast<CFDictionaryRef>(CFArrayGetValueAtIndex(models, 0));
  EXPECT_EQ("Zelvo MP 2550", Str(static_cast<CFStringRef>(CFDictionaryGetValue(model, CFSTR("ModelName")))));
  EXPECT_EQ(kCFBooleanTrue, CFDictionaryGetValue(model, CFSTR("HasDocumentServer")));
  EXPECT_EQ(kCFBooleanFalse, CFDictionaryGetValue(model, CFSTR("LongPasswordSupport")));
  EXPECT_FALSE(CFDictionaryContainsKey(model, CFSTR("modelname")));

  SInt32 count = 0;
  ASSERT_TRUE(CFNumberGetValue(static_cast<CFNumberRef>(CFDictionaryGetValue(root, CFSTR("Count"))),
                               kCFNumberSInt32Type, &count));
  EXPECT_EQ(-5, count);
  double ratio = 0;
  ASSERT_TRUE(CFNumberGetValue(static_cast<CFNumberRef>(CFDictionaryGetValue(root, CFSTR("Ratio"))),
                               kCFNumberDoubleType, &ratio));
  EXPECT_EQ(0.25, ratio);
  auto bytes = static_cast<CFDataRef>(CFDictionaryGetValue(root, CFSTR("Bytes")));
  ASSERT_EQ(CFDataGetTypeID(), CFGetTypeID(bytes));
  ASSERT_EQ(3, CFDataGetLength(bytes));
  EXPECT_EQ(2, CFDataGetBytePtr(bytes)[2]);
  EXPECT_EQ("Auftragsprotokoll f\xC3\xBCr alle",
            Str(static_cast<CFStringRef>(CFDictionaryGetValue(root, CFSTR("Name")))));

  const void* value = nullptr;
  EXPECT_FALSE(CFDictionaryGetValueIfPresent(root, CFSTR("Absent"), &value));
  EXPECT_EQ(nullptr, CFDictionaryGetValue(root, CFSTR("Absent")));
  CFRelease(list);
}

TEST_F(PropertyListTest, ArrayRoot) {
  CFPropertyListRef list = Parse(Plist("<array><string>a</string><integer>2</integer></array>"));
  ASSERT_NE(nullptr, list);
  ASSERT_EQ(CFArrayGetTypeID(), CFGetTypeID(list));
  EXPECT_EQ(2, CFArrayGetCount(static_cast<CFArrayRef>(list)));
  CFRelease(list);
}

TEST_F(PropertyListTest, WhatIsNotAPropertyListGivesNullAndAnError) {
  const struct {
    const char* name;
    std::string text;
  } cases[] = {
      {"empty", ""},
      {"garbage", "garbage"},
      {"cut short", Plist("<dict><key>a</key><string>b</string>").substr(0, 60)},
      {"key after key", Plist("<dict><key>a</key><key>b</key><string>x</string></dict>")},
      {"value without key", Plist("<dict><string>x</string></dict>")},
      {"date", Plist("<dict><key>When</key><date>2024-01-01T00:00:00Z</date></dict>")},
      {"truncated binary", "bplist00\x01\x02"},
  };
  for (const auto& c : cases) {
    std::string error;
    CFPropertyListRef list = Parse(c.text, &error);
    EXPECT_EQ(nullptr, list) << c.name;
    EXPECT_FALSE(error.empty()) << c.name;
    if (list != nullptr) CFRelease(list);
  }
}

TEST_F(PropertyListTest, MutableOptionsAreRefused) {
  const std::string text = Plist("<array/>");
  CFDataRef data = CFDataCreate(nullptr, reinterpret_cast<const UInt8*>(text.data()),
                                static_cast<CFIndex>(text.size()));
  EXPECT_EQ(nullptr, CFPropertyListCreateFromXMLData(nullptr, data, 1, nullptr));
  CFRelease(data);
}

}  // namespace
