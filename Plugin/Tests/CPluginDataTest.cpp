// The model list: which entry a make-and-model name finds in small
// PluginData.plist files, and what a broken or missing file gives.
#include <optional>

#include "CPluginData.h"
#include "PluginTestSupport.h"

namespace {

// A property list with the XML of the root object.
std::string Plist(const std::string& root) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">" + root + "</plist>\n";
}

// A model entry; "Tag" is not read by the pane and tells entries apart.
std::string Model(const std::string& nameXML, const std::string& tag) {
  return "<dict><key>ModelName</key>" + nameXML + "<key>Tag</key><string>" + tag + "</string></dict>";
}

std::string Models(const std::string& elements) {
  return Plist("<dict><key>Models</key><array>" + elements + "</array></dict>");
}

struct ModelCase {
  const char* name;
  std::optional<std::string> plist;  // nullopt: the bundle has no PluginData.plist
  const char* lookUp;                // nullptr: a NULL name
  const char* expectedTag;           // nullptr: no entry found
};
void PrintTo(const ModelCase& c, std::ostream* os) { *os << c.name; }

class PluginDataTest : public LeakCheckedTest, public ::testing::WithParamInterface<ModelCase> {};

TEST_P(PluginDataTest, FindsTheFirstEntryWithExactlyThatName) {
  const ModelCase& c = GetParam();
  TempBundle files("com.zelvo.test.PluginData");
  if (c.plist) files.WriteResource("PluginData.plist", *c.plist);
  Owned<CFBundleRef> bundle(CreateBundleAt(files.path()));
  ASSERT_NE(nullptr, bundle.get());

  CPluginData data(bundle.get());
  Owned<CFStringRef> name(c.lookUp != nullptr ? MakeString(c.lookUp) : nullptr);
  CFDictionaryRef entry = data.GetModelInfo(name.get());
  if (c.expectedTag == nullptr) {
    EXPECT_EQ(nullptr, entry);
    return;
  }
  ASSERT_NE(nullptr, entry);
  EXPECT_EQ(c.expectedTag, Str(static_cast<CFStringRef>(CFDictionaryGetValue(entry, CFSTR("Tag")))));
}

INSTANTIATE_TEST_SUITE_P(
    Files, PluginDataTest,
    ::testing::Values(
        ModelCase{"OtherElementsAreSkipped",
                  Models("<integer>5</integer><string>Zelvo A</string><array/>" +
                         Model("<string>Zelvo A</string>", "wanted")),
                  "Zelvo A", "wanted"},
        ModelCase{"FirstOfTwoWithTheSameNameWins",
                  Models(Model("<string>Zelvo A</string>", "first") + Model("<string>Zelvo A</string>", "second")),
                  "Zelvo A", "first"},
        ModelCase{"LetterCaseCounts", Models(Model("<string>Zelvo A</string>", "a")), "zelvo a", nullptr},
        ModelCase{"TrailingBlankCounts", Models(Model("<string>Zelvo A</string>", "a")), "Zelvo A ", nullptr},
        ModelCase{"NumberAsNameIsSkipped",
                  Models(Model("<integer>4100</integer>", "number") + Model("<string>4100</string>", "string")),
                  "4100", "string"},
        ModelCase{"EntryWithoutNameIsSkipped",
                  Models("<dict><key>Tag</key><string>nameless</string></dict>" + Model("<string>B</string>", "b")),
                  "B", "b"},
        ModelCase{"NoSuchModel", Models(Model("<string>Zelvo A</string>", "a")), "Zelvo B", nullptr},
        ModelCase{"NullName", Models(Model("<string>Zelvo A</string>", "a")), nullptr, nullptr},
        ModelCase{"ArrayRoot", Plist("<array>" + Model("<string>Zelvo A</string>", "a") + "</array>"),
                  "Zelvo A", nullptr},
        ModelCase{"ModelsNotAnArray",
                  Plist("<dict><key>Models</key>" + Model("<string>Zelvo A</string>", "a") + "</dict>"),
                  "Zelvo A", nullptr},
        ModelCase{"NotAPropertyList", std::string("Models = (Zelvo A);"), "Zelvo A", nullptr},
        ModelCase{"MissingResource", std::nullopt, "Zelvo A", nullptr}),
    CaseName<ModelCase>);

TEST(PluginDataWithoutBundleTest, HoldsNoData) {
  CPluginData data(nullptr);
  EXPECT_EQ(nullptr, data.GetModelInfo(CFSTR("Zelvo A")));
}

}  // namespace
