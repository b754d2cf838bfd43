// Standard alerts, the beep, the scrap and pointer memory.
#include <cstring>

#include "TestSupport.h"

namespace {

using AlertsTest = PlatformTest;

TEST_F(AlertsTest, DefaultParametersOfVersionOne) {
  AlertStdCFStringAlertParamRec params;
  std::memset(&params, 0x55, sizeof params);
  ASSERT_EQ(noErr, GetStandardAlertDefaultParams(&params, kStdCFStringAlertVersionOne));
  EXPECT_EQ(kStdCFStringAlertVersionOne, params.version);
  EXPECT_FALSE(params.movable);
  EXPECT_FALSE(params.helpButton);
  EXPECT_EQ(kAlertDefaultOKText, params.defaultText);
  EXPECT_EQ(nullptr, params.cancelText);
  EXPECT_EQ(nullptr, params.otherText);
  EXPECT_EQ(kAlertStdAlertOKButton, params.defaultButton);
  EXPECT_EQ(kWindowDefaultPosition, params.position);
  EXPECT_EQ(paramErr, GetStandardAlertDefaultParams(&params, 2));
}

TEST_F(AlertsTest, RunAlertsAreRecordedInOrderWithTheirTexts) {
  AlertStdCFStringAlertParamRec params;
  ASSERT_EQ(noErr, GetStandardAlertDefaultParams(&params, kStdCFStringAlertVersionOne));
  params.movable = true;
  params.position = kWindowAlertPositionParentWindow;
  CFStringRef message = MakeString("Enter a valid User ID");
  DialogRef alert = nullptr;
  ASSERT_EQ(noErr, CreateStandardAlert(kAlertCautionAlert, message, nullptr, &params, &alert));
  CFRelease(message);  // the alert keeps its own copy
  DialogItemIndex hit = 0;
  ASSERT_EQ(noErr, RunStandardAlert(alert, nullptr, &hit));  // returns at once and disposes the alert
  EXPECT_EQ(kAlertStdAlertOKButton, hit);

  ASSERT_EQ(noErr, CreateStandardAlert(kAlertNoteAlert, CFSTR("Second"), CFSTR("Why"), nullptr, &alert));
  ASSERT_EQ(noErr, RunStandardAlert(alert, nullptr, nullptr));

  ASSERT_EQ(2, SimGetAlertCount());
  SimAlertRecord record;
  ASSERT_TRUE(SimGetAlert(0, &record));
  EXPECT_EQ(kAlertCautionAlert, record.type);
  EXPECT_EQ("Enter a valid User ID", Str(record.message));
  EXPECT_EQ(nullptr, record.explanation);
  EXPECT_TRUE(record.movable);
  EXPECT_EQ(kWindowAlertPositionParentWindow, record.position);
  ASSERT_TRUE(SimGetAlert(1, &record));
  EXPECT_EQ(kAlertNoteAlert, record.type);
  EXPECT_EQ("Why", Str(record.explanation));
  EXPECT_FALSE(record.movable);
  EXPECT_FALSE(SimGetAlert(2, &record));
  SimResetState();
  EXPECT_EQ(0, SimGetAlertCount());
}

TEST_F(AlertsTest, AlertNeedsAMessageAndAKnownType) {
  DialogRef alert = reinterpret_cast<DialogRef>(&alert);
  EXPECT_EQ(paramErr, CreateStandardAlert(kAlertCautionAlert, nullptr, nullptr, nullptr, &alert));
  EXPECT_EQ(nullptr, alert);
  EXPECT_EQ(paramErr, CreateStandardAlert(7, CFSTR("x"), nullptr, nullptr, &alert));
  EXPECT_EQ(0, SimGetAlertCount());
}

TEST_F(AlertsTest, BeepsAreCounted) {
  EXPECT_EQ(0u, SimGetBeepCount());
  SysBeep(1);
  SysBeep(30);
  EXPECT_EQ(2u, SimGetBeepCount());
}

using ScrapTest = PlatformTest;

TEST_F(ScrapTest, TextFlavorIsReadBackByteForByte) {
  ScrapRef scrap = nullptr;
  ASSERT_EQ(noErr, GetCurrentScrap(&scrap));
  Size size = -1;
  EXPECT_EQ(noTypeErr, GetScrapFlavorSize(scrap, kScrapFlavorTypeText, &size));

  const char bytes[] = {'1', '2', '\xE9', '3'};
  SimSetScrapText(bytes, sizeof bytes);
  ASSERT_EQ(noErr, GetScrapFlavorSize(scrap, kScrapFlavorTypeText, &size));
  EXPECT_EQ(4, size);
  char buffer[8] = {};
  Size count = sizeof buffer;
  ASSERT_EQ(noErr, GetScrapFlavorData(scrap, kScrapFlavorTypeText, &count, buffer));
  EXPECT_EQ(4, count);
  EXPECT_EQ(0, std::memcmp(bytes, buffer, sizeof bytes));
  count = 2;  // room for two bytes only
  std::memset(buffer, 0, sizeof buffer);
  ASSERT_EQ(noErr, GetScrapFlavorData(scrap, kScrapFlavorTypeText, &count, buffer));
  EXPECT_EQ(2, count);
  EXPECT_EQ(0, buffer[2]);
  EXPECT_EQ(noTypeErr, GetScrapFlavorSize(scrap, 0x75747874, &size));  // 'utxt' is not there
}

TEST_F(ScrapTest, TextWithoutAMacRomanFormLeavesTheScrapAlone) {
  ASSERT_TRUE(SimSetScrapTextUTF8("caf\xC3\xA9"));
  EXPECT_FALSE(SimSetScrapTextUTF8("\xE6\x97\xA5"));
  ScrapRef scrap = nullptr;
  GetCurrentScrap(&scrap);
  char buffer[8];
  Size count = sizeof buffer;
  ASSERT_EQ(noErr, GetScrapFlavorData(scrap, kScrapFlavorTypeText, &count, buffer));
  EXPECT_EQ("caf\x8E", std::string(buffer, static_cast<size_t>(count)));
  SimSetScrapText("", 0);  // an empty flavor is still a flavor
  Size size = -1;
  EXPECT_EQ(noErr, GetScrapFlavorSize(scrap, kScrapFlavorTypeText, &size));
  EXPECT_EQ(0, size);
}

using MemoryTest = PlatformTest;

TEST_F(MemoryTest, NewPtrFailsWhenMemoryIsShort) {
  SimFailNextNewPtr(1);
  EXPECT_EQ(nullptr, NewPtr(16));
  Ptr p = NewPtr(16);
  ASSERT_NE(nullptr, p);
  std::memset(p, 0, 16);
  DisposePtr(p);
  EXPECT_EQ(nullptr, NewPtr(-1));
  Ptr empty = NewPtr(0);
  EXPECT_NE(nullptr, empty);
  DisposePtr(empty);
}

TEST_F(MemoryTest, BlockMoveToleratesOverlap) {
  char text[] = "abcdef";
  BlockMove(text, text + 2, 4);
  EXPECT_STREQ("ababcd", text);
  BlockMove(text + 1, text, 5);
  EXPECT_STREQ("babcdd", text);
}

}  // namespace
