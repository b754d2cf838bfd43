// Print sessions and tickets, and the ticket reference's trip through the
// session on a 64-bit build.
#include "TestSupport.h"

namespace {

class PrintCoreTest : public PlatformTest {
 protected:
  void SetUp() override {
    PlatformTest::SetUp();
    session_ = SimCreatePrintSession();
    ticket_ = SimCreateTicket();
    ASSERT_EQ(noErr, SimSessionSetTicket(session_, CFSTR("PMPrintSettingsTicket"), ticket_));
    SimReleaseTicket(ticket_);  // the session holds it from here on
  }
  void TearDown() override {
    SimReleasePrintSession(session_);
    PlatformTest::TearDown();
  }

  // What the pane does: the session's entry read as a pointer-sized number.
  PMTicketRef TicketFromSession(CFStringRef key) {
    CFTypeRef value = nullptr;
    if (PMSessionGetDataFromSession(session_, key, &value) != noErr || value == nullptr) return nullptr;
    PMTicketRef ticket = nullptr;
    if (!CFNumberGetValue(static_cast<CFNumberRef>(value), kCFNumberLongType, &ticket)) return nullptr;
    return ticket;
  }

  PMPrintSession session_ = nullptr;
  PMTicketRef ticket_ = nullptr;
};

TEST_F(PrintCoreTest, TicketReferenceSurvivesTheSessionAsAPointerSizedNumber) {
  PMTicketRef ticket = TicketFromSession(CFSTR("PMPrintSettingsTicket"));
  EXPECT_EQ(ticket_, ticket);
  // On this 64-bit build the ticket lies above 4 GiB, where a signed 32-bit
  // number cannot carry it: reading it that way is refused.
  ASSERT_GT(reinterpret_cast<uintptr_t>(ticket_), uintptr_t{0xFFFFFFFF});
  CFTypeRef value = nullptr;
  ASSERT_EQ(noErr, PMSessionGetDataFromSession(session_, CFSTR("PMPrintSettingsTicket"), &value));
  SInt32 truncated = 0;
  EXPECT_FALSE(CFNumberGetValue(static_cast<CFNumberRef>(value), kCFNumberSInt32Type, &truncated));
  static_assert(sizeof(PMPDEContext) == sizeof(void*), "the context carries an object's address");
}

TEST_F(PrintCoreTest, MissingSessionEntryIsAnErrorAndTouchesNothing) {
  CFTypeRef value = kCFBooleanTrue;
  EXPECT_EQ(kPMKeyNotFound, PMSessionGetDataFromSession(session_, CFSTR("PMPrinterInfoTicket"), &value));
  EXPECT_EQ(kCFBooleanTrue, value);
  EXPECT_EQ(paramErr, PMSessionGetDataFromSession(nullptr, CFSTR("PMPrinterInfoTicket"), &value));
}

TEST_F(PrintCoreTest, SessionDataIsBorrowedAndReplaceable) {
  CFStringRef text = MakeString("not a number");
  ASSERT_EQ(noErr, SimSessionSetData(session_, CFSTR("PMPrinterInfoTicket"), text));
  CFRelease(text);
  CFTypeRef value = nullptr;
  ASSERT_EQ(noErr, PMSessionGetDataFromSession(session_, CFSTR("PMPrinterInfoTicket"), &value));
  EXPECT_EQ("not a number", Str(static_cast<CFStringRef>(value)));
  ASSERT_EQ(noErr, SimSessionSetData(session_, CFSTR("PMPrinterInfoTicket"), nullptr));
  EXPECT_EQ(kPMKeyNotFound, PMSessionGetDataFromSession(session_, CFSTR("PMPrinterInfoTicket"), &value));
}

TEST_F(PrintCoreTest, AbsentOrOtherTypedEntryIsAnErrorAndLeavesTheOutValue) {
  CFStringRef string = CFSTR("untouched");
  Boolean flag = 7;
  EXPECT_EQ(kPMKeyNotFound, PMTicketGetCFString(ticket_, 0, 0, CFSTR("com.zelvo.pm.UserID"), &string));
  EXPECT_EQ(kPMKeyNotFound, PMTicketGetBoolean(ticket_, 0, 0, CFSTR("com.zelvo.pm.EnableUserCode"), &flag));
  PMTicketSetBoolean(ticket_, CFSTR("com.zelvo.printingmanager"), CFSTR("com.zelvo.pm.UserID"), true, false);
  PMTicketSetCFString(ticket_, CFSTR("com.zelvo.printingmanager"), CFSTR("com.zelvo.pm.EnableUserCode"),
                      CFSTR("yes"), false);
  EXPECT_EQ(kPMKeyNotFound, PMTicketGetCFString(ticket_, 0, 0, CFSTR("com.zelvo.pm.UserID"), &string));
  EXPECT_EQ(kPMKeyNotFound, PMTicketGetBoolean(ticket_, 0, 0, CFSTR("com.zelvo.pm.EnableUserCode"), &flag));
  EXPECT_EQ("untouched", Str(string));
  EXPECT_EQ(7, flag);
}

TEST_F(PrintCoreTest, SetKeepsItsOwnStringAndReplacesInPlace) {
  const CFStringRef client = CFSTR("com.zelvo.printingmanager");
  CFStringRef userID = MakeString("abc123");
  ASSERT_EQ(noErr, PMTicketSetCFString(ticket_, client, CFSTR("com.zelvo.pm.UserID"), userID, false));
  CFRelease(userID);  // the caller lets go at once
  ASSERT_EQ(noErr, PMTicketSetBoolean(ticket_, client, CFSTR("com.zelvo.pm.EnableUserCode"), true, false));
  ASSERT_EQ(noErr, PMTicketSetCFString(ticket_, CFSTR("com.example.other"), CFSTR("com.zelvo.pm.UserID"),
                                       CFSTR("xyz"), true));

  CFStringRef got = nullptr;
  ASSERT_EQ(noErr, PMTicketGetCFString(ticket_, 0, 0, CFSTR("com.zelvo.pm.UserID"), &got));
  EXPECT_EQ("xyz", Str(got));
  Boolean enabled = false;
  ASSERT_EQ(noErr, PMTicketGetBoolean(ticket_, 0, 0, CFSTR("com.zelvo.pm.EnableUserCode"), &enabled));
  EXPECT_TRUE(enabled);

  ASSERT_EQ(2, SimTicketGetEntryCount(ticket_));
  SimTicketEntry entry;
  ASSERT_TRUE(SimTicketGetEntry(ticket_, 0, &entry));
  EXPECT_EQ("com.zelvo.pm.UserID", Str(entry.key));  // first set first, though replaced since
  EXPECT_EQ("xyz", Str(static_cast<CFStringRef>(entry.value)));
  EXPECT_EQ("com.example.other", Str(entry.creator));
  EXPECT_TRUE(entry.locked);
  ASSERT_TRUE(SimTicketGetEntry(ticket_, 1, &entry));
  EXPECT_EQ(kCFBooleanTrue, entry.value);
  EXPECT_EQ("com.zelvo.printingmanager", Str(entry.creator));
  EXPECT_FALSE(entry.locked);
  EXPECT_FALSE(SimTicketGetEntry(ticket_, 2, &entry));
}

TEST_F(PrintCoreTest, LockedEntryIsNotReplaced) {
  const CFStringRef client = CFSTR("com.zelvo.printingmanager");
  ASSERT_EQ(noErr, PMTicketSetCFString(ticket_, client, CFSTR("k"), CFSTR("kept"), true));
  EXPECT_EQ(kPMKeyLocked, PMTicketSetCFString(ticket_, client, CFSTR("k"), CFSTR("lost"), false));
  EXPECT_EQ(kPMKeyLocked, PMTicketSetBoolean(ticket_, client, CFSTR("k"), true, false));
  CFStringRef got = nullptr;
  ASSERT_EQ(noErr, PMTicketGetCFString(ticket_, 0, 0, CFSTR("k"), &got));
  EXPECT_EQ("kept", Str(got));
}

TEST_F(PrintCoreTest, OnlyTheTopLevelExists) {
  ASSERT_EQ(noErr, PMTicketSetCFString(ticket_, CFSTR("c"), CFSTR("k"), CFSTR("v"), false));
  CFStringRef got = nullptr;
  EXPECT_EQ(kPMKeyNotFound, PMTicketGetCFString(ticket_, 1, 0, CFSTR("k"), &got));
  EXPECT_EQ(kPMKeyNotFound, PMTicketGetCFString(ticket_, 0, 1, CFSTR("k"), &got));
  EXPECT_EQ(nullptr, got);
}

TEST_F(PrintCoreTest, ReplacingASessionTicketLetsTheOldOneGo) {
  PMTicketRef replacement = SimCreateTicket();
  ASSERT_EQ(noErr, SimSessionSetTicket(session_, CFSTR("PMPrintSettingsTicket"), replacement));
  EXPECT_EQ(replacement, TicketFromSession(CFSTR("PMPrintSettingsTicket")));
  SimReleaseTicket(replacement);
  ticket_ = replacement;  // the first one is gone; LeakSanitizer checks it was freed
}

using PrintCoreDeathTest = PrintCoreTest;

TEST_F(PrintCoreDeathTest, AddressCutToThirtyTwoBitsIsCaughtNotFollowed) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  auto truncated = reinterpret_cast<PMTicketRef>(reinterpret_cast<uintptr_t>(ticket_) & 0xFFFFFFFF);
  CFStringRef got = nullptr;
  EXPECT_DEATH(PMTicketGetCFString(truncated, 0, 0, CFSTR("k"), &got), "not a live ticket");
}

}  // namespace
