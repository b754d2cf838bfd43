// Bundles: the registry, resource lookup, reading resources, the user's
// localization and strings tables. Each case builds the few files it needs
// in a temporary bundle.
#include "TestSupport.h"

namespace {

class BundleTest : public PlatformTest {
 protected:
  // Makes <dir>/<name>.bundle with an Info.plist and the given files under
  // Contents/Resources; returns its path.
  std::string MakeBundle(const std::string& name,
                         const std::vector<std::pair<std::string, std::string>>& resources,
                         const std::string& extraInfo = "") {
    const std::string root = name + ".bundle/Contents/";
    dir_.Write(root + "Info.plist", InfoPlist("com.zelvo.test." + name, extraInfo));
    dir_.MakeDirectory(root + "Resources");
    for (const auto& file : resources) dir_.Write(root + "Resources/" + file.first, file.second);
    return dir_.path() + "/" + name + ".bundle";
  }

  // The text of the resource found for name.type, "<none>" when none is.
  std::string ResourceText(CFBundleRef bundle, CFStringRef name, CFStringRef type,
                           CFStringRef subDir = nullptr) {
    CFURLRef url = CFBundleCopyResourceURL(bundle, name, type, subDir);
    if (url == nullptr) return "<none>";
    CFDataRef data = nullptr;
    SInt32 error = 0;
    std::string text = "<unreadable>";
    if (CFURLCreateDataAndPropertiesFromResource(nullptr, url, &data, nullptr, nullptr, &error)) {
      text.assign(reinterpret_cast<const char*>(CFDataGetBytePtr(data)),
                  static_cast<size_t>(CFDataGetLength(data)));
      CFRelease(data);
    }
    CFRelease(url);
    return text;
  }

  TempDir dir_;
  LocaleGuard locale_;
};

TEST_F(BundleTest, SameDirectoryGivesTheSameBundleRetainedAndItIsFoundByIdentifier) {
  const std::string path = MakeBundle("Twice", {});
  CFBundleRef first = CreateBundleAt(path);
  ASSERT_NE(nullptr, first);
  CFBundleRef second = CreateBundleAt(dir_.path() + "/./Twice.bundle/");
  EXPECT_EQ(first, second);
  EXPECT_EQ(2, CFGetRetainCount(first));
  EXPECT_EQ("com.zelvo.test.Twice", Str(CFBundleGetIdentifier(first)));
  EXPECT_EQ(first, CFBundleGetBundleWithIdentifier(CFSTR("com.zelvo.test.Twice")));
  CFRelease(second);
  EXPECT_EQ(first, CFBundleGetBundleWithIdentifier(CFSTR("com.zelvo.test.Twice")));
  CFRelease(first);
  EXPECT_EQ(nullptr, CFBundleGetBundleWithIdentifier(CFSTR("com.zelvo.test.Twice")));
}

TEST_F(BundleTest, DirectoryWithoutAnInfoDictionaryIsNoBundle) {
  dir_.MakeDirectory("Empty.bundle/Contents");
  dir_.Write("Array.bundle/Contents/Info.plist",
             "<?xml version=\"1.0\"?><plist version=\"1.0\"><array/></plist>");
  dir_.Write("Garbage.bundle/Contents/Info.plist", "not a list");
  for (const char* name : {"Missing.bundle", "Empty.bundle", "Array.bundle", "Garbage.bundle"}) {
    EXPECT_EQ(nullptr, CreateBundleAt(dir_.path() + "/" + name)) << name;
  }
}

TEST_F(BundleTest, ResourcesOfTheLocalizationComeBeforeTheSharedOnes) {
  CFBundleRef bundle = CreateBundleAt(MakeBundle(
      "Lookup", {{"de.lproj/Where.txt", "german"}, {"Where.txt", "shared"}, {"Only.txt", "only shared"},
                 {"Sub/Deep.txt", "deep shared"}, {"de.lproj/Sub/Deep.txt", "deep german"}}));
  ASSERT_NE(nullptr, bundle);
  setenv("LANG", "de_DE.UTF-8", 1);
  EXPECT_EQ("german", ResourceText(bundle, CFSTR("Where"), CFSTR("txt")));
  EXPECT_EQ("german", ResourceText(bundle, CFSTR("Where.txt"), nullptr));
  EXPECT_EQ("german", ResourceText(bundle, CFSTR("Where"), CFSTR(".txt")));
  EXPECT_EQ("only shared", ResourceText(bundle, CFSTR("Only"), CFSTR("txt")));
  EXPECT_EQ("deep german", ResourceText(bundle, CFSTR("Deep"), CFSTR("txt"), CFSTR("Sub")));
  EXPECT_EQ("<none>", ResourceText(bundle, CFSTR("Absent"), CFSTR("txt")));
  EXPECT_EQ("<none>", ResourceText(bundle, CFSTR("Deep"), CFSTR("txt")));
  setenv("LANG", "fr_FR.UTF-8", 1);  // no such localization, and no English one
  EXPECT_EQ("shared", ResourceText(bundle, CFSTR("Where"), CFSTR("txt")));
  EXPECT_EQ("deep shared", ResourceText(bundle, CFSTR("Deep"), CFSTR("txt"), CFSTR("Sub")));
  CFRelease(bundle);
}

TEST_F(BundleTest, ReadingAResourceThatIsNotThereFails) {
  CFURLRef url = CFURLCreateWithFileSystemPath(nullptr, CFSTR("/nonexistent/PluginData.plist"),
                                               kCFURLPOSIXPathStyle, false);
  CFDataRef data = reinterpret_cast<CFDataRef>(&data);  // must be overwritten
  SInt32 error = 0;
  EXPECT_FALSE(CFURLCreateDataAndPropertiesFromResource(nullptr, url, &data, nullptr, nullptr, &error));
  EXPECT_EQ(nullptr, data);
  EXPECT_EQ(kCFURLResourceNotFoundError, error);
  UInt8 path[64];
  ASSERT_TRUE(CFURLGetFileSystemRepresentation(url, true, path, sizeof path));
  EXPECT_STREQ("/nonexistent/PluginData.plist", reinterpret_cast<char*>(path));
  EXPECT_FALSE(CFURLGetFileSystemRepresentation(url, true, path, 10));
  CFRelease(url);
}

struct LanguageCase {
  const char* name;
  std::vector<std::pair<const char*, const char*>> environment;
  const char* expected;
};

// Names the case in the test's name.
void PrintTo(const LanguageCase& c, std::ostream* os) { *os << c.name; }

class LanguageChoiceTest : public BundleTest, public ::testing::WithParamInterface<LanguageCase> {};

TEST_P(LanguageChoiceTest, TableOfTheUsersLanguage) {
  CFBundleRef bundle = CreateBundleAt(MakeBundle(
      "Languages", {{"en.lproj/Localizable.strings", "\"Job Log\" = \"Job Log (en)\";"},
                    {"de.lproj/Localizable.strings", "\"Job Log\" = \"Auftragsprotokoll\";"},
                    {"de_CH.lproj/Localizable.strings", "\"Job Log\" = \"Auftragsprotokoll (CH)\";"},
                    {"fr.lproj/Localizable.strings", "\"Job Log\" = \"Journal des travaux\";"}}));
  ASSERT_NE(nullptr, bundle);
  for (const auto& variable : GetParam().environment) setenv(variable.first, variable.second, 1);
  EXPECT_EQ(GetParam().expected,
            Take(CFBundleCopyLocalizedString(bundle, CFSTR("Job Log"), CFSTR("Job Log"), nullptr)));
  CFRelease(bundle);
}

INSTANTIATE_TEST_SUITE_P(
    Environments, LanguageChoiceTest,
    ::testing::Values(
        LanguageCase{"NoneSetIsEnglish", {}, "Job Log (en)"},
        LanguageCase{"LangWithEncoding", {{"LANG", "de_DE.UTF-8"}}, "Auftragsprotokoll"},
        LanguageCase{"RegionTableFirst", {{"LANG", "de_CH.UTF-8"}}, "Auftragsprotokoll (CH)"},
        LanguageCase{"RegionFallsBackToLanguage", {{"LANG", "de_AT@euro"}}, "Auftragsprotokoll"},
        LanguageCase{"MessagesBeforeLang", {{"LANG", "de_DE"}, {"LC_MESSAGES", "fr_FR"}}, "Journal des travaux"},
        LanguageCase{"AllBeforeMessages", {{"LC_MESSAGES", "fr_FR"}, {"LC_ALL", "de_DE"}}, "Auftragsprotokoll"},
        LanguageCase{"EmptyAllIsSkipped", {{"LC_ALL", ""}, {"LANG", "fr"}}, "Journal des travaux"},
        LanguageCase{"LanguageListFirst", {{"LANGUAGE", "it:fr_CA:de"}, {"LANG", "de_DE"}}, "Journal des travaux"},
        LanguageCase{"LanguageListThenLocale", {{"LANGUAGE", "it"}, {"LANG", "de_DE"}}, "Auftragsprotokoll"},
        LanguageCase{"PosixLocaleIsEnglish", {{"LANG", "C"}}, "Job Log (en)"},
        LanguageCase{"UnknownLanguageIsEnglish", {{"LANG", "ja_JP.UTF-8"}}, "Job Log (en)"}),
    CaseName<LanguageCase>);

TEST_F(BundleTest, DevelopmentRegionStandsInForEnglish) {
  CFBundleRef bundle = CreateBundleAt(MakeBundle(
      "Region", {{"German.lproj/Localizable.strings", "\"Job Log\" = \"Auftragsprotokoll\";"}},
      "<key>CFBundleDevelopmentRegion</key><string>German</string>"));
  ASSERT_NE(nullptr, bundle);
  EXPECT_EQ("Auftragsprotokoll", Take(CFBundleCopyLocalizedString(bundle, CFSTR("Job Log"), nullptr, nullptr)));
  CFRelease(bundle);
}

TEST_F(BundleTest, KeyOrValueWhenTheTableLacksTheKey) {
  CFBundleRef bundle = CreateBundleAt(MakeBundle(
      "Fallback", {{"en.lproj/Localizable.strings", "\"Known\" = \"Translated\";"},
                   {"en.lproj/Other.strings", "\"Known\" = \"From the other table\";"}}));
  ASSERT_NE(nullptr, bundle);
  EXPECT_EQ("Translated", Take(CFBundleCopyLocalizedString(bundle, CFSTR("Known"), CFSTR("Default"), nullptr)));
  EXPECT_EQ("From the other table",
            Take(CFBundleCopyLocalizedString(bundle, CFSTR("Known"), nullptr, CFSTR("Other"))));
  EXPECT_EQ("Default", Take(CFBundleCopyLocalizedString(bundle, CFSTR("Unknown"), CFSTR("Default"), nullptr)));
  EXPECT_EQ("Unknown", Take(CFBundleCopyLocalizedString(bundle, CFSTR("Unknown"), nullptr, nullptr)));
  EXPECT_EQ("Unknown", Take(CFBundleCopyLocalizedString(bundle, CFSTR("Unknown"), CFSTR(""), nullptr)));
  EXPECT_EQ("Unknown", Take(CFBundleCopyLocalizedString(bundle, CFSTR("Unknown"), nullptr, CFSTR("Absent"))));
  EXPECT_EQ(nullptr, CFBundleCopyLocalizedString(nullptr, CFSTR("Known"), CFSTR("Known"), nullptr));
  CFRelease(bundle);
}

TEST_F(BundleTest, WithoutAnyTableEveryKeyIsItsOwnText) {
  CFBundleRef bundle = CreateBundleAt(MakeBundle("NoTable", {}));
  ASSERT_NE(nullptr, bundle);
  CFStringRef text = CFBundleCopyLocalizedString(bundle, CFSTR("Enter a valid User ID"),
                                                 CFSTR("Enter a valid User ID"), nullptr);
  EXPECT_EQ("Enter a valid User ID", Str(text));
  // A copy of its own, even of a constant: the caller's release frees it.
  EXPECT_NE(CFSTR("Enter a valid User ID"), text);
  EXPECT_EQ(1, CFGetRetainCount(text));
  CFRelease(text);
  CFRelease(bundle);
}

struct TableCase {
  const char* name;
  std::string file;
  const char* key;
  std::string expected;  // the key itself when the table is broken
};

// Names the case in the test's name.
void PrintTo(const TableCase& c, std::ostream* os) { *os << c.name; }

class StringsTableTest : public BundleTest, public ::testing::WithParamInterface<TableCase> {};

TEST_P(StringsTableTest, ReadsTheTextForm) {
  CFBundleRef bundle = CreateBundleAt(MakeBundle("Table", {{"Localizable.strings", GetParam().file}}));
  ASSERT_NE(nullptr, bundle);
  CFStringRef key = MakeString(GetParam().key);
  EXPECT_EQ(GetParam().expected, Take(CFBundleCopyLocalizedString(bundle, key, nullptr, nullptr)));
  CFRelease(key);
  CFRelease(bundle);
}

std::string UTF16(bool bigEndian, const std::u16string& text) {
  std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (char16_t unit : text) {
    char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
    bytes += bigEndian ? std::string{high, low} : std::string{low, high};
  }
  return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Files, StringsTableTest,
    ::testing::Values(
        TableCase{"Plain", "\"a\" = \"b\";", "a", "b"},
        TableCase{"NotesAndComments",
                  "/* Summary-Job Type */\n\"Job Type\" = \"Auftragsart\"; // trailing note\n"
                  "/* multi\n line */ \"x\" = \"y\";",
                  "Job Type", "Auftragsart"},
        TableCase{"QuoteAndBackslash", "\"say \\\"hi\\\"\" = \"back\\\\slash\";", "say \"hi\"", "back\\slash"},
        TableCase{"NewlineAndTab", "\"k\" = \"one\\ntwo\\tthree\";", "k", "one\ntwo\tthree"},
        TableCase{"UnicodeAndOctalEscapes", "\"k\" = \"caf\\U00e9 \\101\";", "k", "caf\xC3\xA9 A"},
        TableCase{"UTF8Text", "\"Locked Print\" = \"Gesch\xC3\xBCtzter Druck\";", "Locked Print",
                  "Gesch\xC3\xBCtzter Druck"},
        TableCase{"UTF8ByteOrderMark", "\xEF\xBB\xBF\"a\" = \"b\";", "a", "b"},
        TableCase{"UTF16LittleEndian", UTF16(false, u"\"a\" = \"\u00e9t\u00e9\";"), "a", "\xC3\xA9t\xC3\xA9"},
        TableCase{"UTF16BigEndian", UTF16(true, u"\"a\" = \"\u65e5\";"), "a", "\xE6\x97\xA5"},
        TableCase{"BareWords", "key = value.1;", "key", "value.1"},
        TableCase{"KeyAlone", "\"solo\";", "solo", "solo"},
        TableCase{"LaterDuplicateWins", "\"a\" = \"first\"; \"a\" = \"second\";", "a", "second"},
        TableCase{"MissingSemicolonBreaksTheTable", "\"a\" = \"b\"\n\"c\" = \"d\";", "a", "a"},
        TableCase{"OpenStringBreaksTheTable", "\"a\" = \"b;", "a", "a"},
        TableCase{"OpenCommentBreaksTheTable", "\"a\" = \"b\"; /* no end", "a", "a"},
        TableCase{"BadUnicodeEscapeBreaksTheTable", "\"a\" = \"\\u12\";", "a", "a"},
        TableCase{"NotUTF8BreaksTheTable", "\"a\" = \"caf\xE9\";", "a", "a"}),
    CaseName<TableCase>);

}  // namespace
