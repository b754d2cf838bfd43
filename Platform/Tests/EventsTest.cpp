// Carbon events and the user: handler chains, commands travelling up the
// hierarchy, the key filter and editing keys, paste through the edit
// text's standard handling, checkbox clicks and popup choices.
#include <string>
#include <vector>

#include "TestSupport.h"

namespace {

enum class Action { PassOn, Consume, Decline };

// A handler's identity and behaviour, passed as its user data.
struct Recorder;
struct HandlerPlan {
  const char* name;
  Recorder* recorder;
  Action action;
};

struct Recorder {
  std::vector<std::string> calls;     // handler names, in call order
  std::vector<UInt32> commands;       // the command each one saw
  std::vector<SInt16> valuesSeen;     // the value of `watched` at each call
  ControlRef watched = nullptr;
};

OSStatus RecordingHandler(EventHandlerCallRef call, EventRef event, void* userData) {
  auto* plan = static_cast<HandlerPlan*>(userData);
  HICommand command{};
  OSStatus status = GetEventParameter(event, kEventParamDirectObject, typeHICommand, nullptr,
                                      sizeof command, nullptr, &command);
  if (status != noErr) return status;
  plan->recorder->calls.push_back(plan->name);
  plan->recorder->commands.push_back(command.commandID);
  if (plan->recorder->watched != nullptr) {
    plan->recorder->valuesSeen.push_back(GetControlValue(plan->recorder->watched));
  }
  switch (plan->action) {
    case Action::PassOn:
      return CallNextEventHandler(call, event);
    case Action::Consume:
      return noErr;
    default:
      return eventNotHandledErr;
  }
}

const EventTypeSpec kCommandProcess = {kEventClassCommand, kEventCommandProcess};

class EventsTest : public SampleNibTest {
 protected:
  void SetUp() override {
    SampleNibTest::SetUp();
    upp_ = NewEventHandlerUPP(RecordingHandler);
    field_ = Control(1);
    ASSERT_EQ(noErr, EmbedControl(field_, pane_));
  }
  void TearDown() override {
    DisposeEventHandlerUPP(upp_);
    SampleNibTest::TearDown();
  }

  EventHandlerRef Install(EventTargetRef target, HandlerPlan* plan,
                          const EventTypeSpec& type = kCommandProcess) {
    EventHandlerRef ref = nullptr;
    EXPECT_EQ(noErr, InstallEventHandler(target, upp_, 1, &type, plan, &ref));
    return ref;
  }

  void Select(ControlRef control, SInt16 start, SInt16 end) {
    ControlEditTextSelectionRec selection = {start, end};
    ASSERT_EQ(noErr, SetControlData(control, 5, kControlEditTextSelectionTag, sizeof selection, &selection));
  }

  // Sets the text under the tag of the control's kind.
  void SetText(ControlRef control, const char* utf8) {
    const ResType tag = SimGetControlKind(control) == kSimControlPasswordEditText
                            ? kControlEditTextPasswordCFStringTag
                            : kControlEditTextCFStringTag;
    CFStringRef text = MakeString(utf8);
    OSErr status = SetControlData(control, 5, tag, sizeof text, &text);
    CFRelease(text);
    ASSERT_EQ(noErr, status);
  }

  EventHandlerUPP upp_ = nullptr;
  ControlRef field_ = nullptr;
  Recorder recorder_;
};

TEST_F(EventsTest, CommandTravelsUpFromTheControlThroughItsPaneToTheWindow) {
  HandlerPlan onField = {"field", &recorder_, Action::PassOn};
  HandlerPlan onPane = {"pane", &recorder_, Action::PassOn};
  HandlerPlan onWindow = {"window", &recorder_, Action::Consume};
  Install(GetControlEventTarget(field_), &onField);
  Install(GetControlEventTarget(pane_), &onPane);
  EXPECT_EQ(eventNotHandledErr, SimSendCommand(field_, 0x61626364));
  EXPECT_EQ((std::vector<std::string>{"field", "pane"}), recorder_.calls);

  recorder_.calls.clear();
  Install(GetWindowEventTarget(dialog_), &onWindow);
  EXPECT_EQ(noErr, SimSendCommand(field_, 0x61626364));
  EXPECT_EQ((std::vector<std::string>{"field", "pane", "window"}), recorder_.calls);
  EXPECT_EQ(0x61626364u, recorder_.commands.back());
}

TEST_F(EventsTest, NewestHandlerRunsFirstAndTheChainEndsInTheStandardHandling) {
  HandlerPlan older = {"older", &recorder_, Action::PassOn};
  HandlerPlan newer = {"newer", &recorder_, Action::PassOn};
  HandlerPlan onPane = {"pane", &recorder_, Action::PassOn};
  Install(GetControlEventTarget(field_), &older);
  Install(GetControlEventTarget(field_), &newer);
  Install(GetControlEventTarget(pane_), &onPane);
  ASSERT_TRUE(SimSetScrapTextUTF8("XY"));
  Select(field_, 0, 7);
  EXPECT_EQ(noErr, SimSendCommand(field_, kHICommandPaste));
  EXPECT_EQ((std::vector<std::string>{"newer", "older"}), recorder_.calls);  // handled: not on to the pane
  EXPECT_EQ("XY", TextOf(field_));
}

TEST_F(EventsTest, HandlerThatConsumesTheCommandStopsIt) {
  HandlerPlan older = {"older", &recorder_, Action::PassOn};
  HandlerPlan newer = {"newer", &recorder_, Action::Consume};
  HandlerPlan onPane = {"pane", &recorder_, Action::PassOn};
  Install(GetControlEventTarget(field_), &older);
  Install(GetControlEventTarget(field_), &newer);
  Install(GetControlEventTarget(pane_), &onPane);
  ASSERT_TRUE(SimSetScrapTextUTF8("XY"));
  EXPECT_EQ(noErr, SimSendCommand(field_, kHICommandPaste));
  EXPECT_EQ((std::vector<std::string>{"newer"}), recorder_.calls);
  EXPECT_EQ("initial", TextOf(field_));
}

TEST_F(EventsTest, HandlerThatDeclinesLetsTheRestOfTheChainRun) {
  HandlerPlan older = {"older", &recorder_, Action::PassOn};
  HandlerPlan newer = {"newer", &recorder_, Action::Decline};
  Install(GetControlEventTarget(field_), &older);
  Install(GetControlEventTarget(field_), &newer);
  ASSERT_TRUE(SimSetScrapTextUTF8("Z"));
  Select(field_, 0, 0);
  EXPECT_EQ(noErr, SimSendCommand(field_, kHICommandPaste));
  EXPECT_EQ((std::vector<std::string>{"newer", "older"}), recorder_.calls);
  EXPECT_EQ("Zinitial", TextOf(field_));
}

TEST_F(EventsTest, HandlersRunOnlyForTheirEventTypesAndUntilRemoved) {
  HandlerPlan otherKind = {"other kind", &recorder_, Action::Consume};
  HandlerPlan removed = {"removed", &recorder_, Action::Consume};
  Install(GetControlEventTarget(field_), &otherKind, EventTypeSpec{kEventClassCommand, 2});
  EventHandlerRef ref = Install(GetControlEventTarget(field_), &removed);
  ASSERT_EQ(noErr, RemoveEventHandler(ref));
  EXPECT_EQ(eventNotHandledErr, SimSendCommand(field_, 0x61626364));
  EXPECT_TRUE(recorder_.calls.empty());
  EXPECT_EQ(paramErr, InstallEventHandler(GetControlEventTarget(field_), upp_, 0, &kCommandProcess,
                                          nullptr, nullptr));
}

struct ParameterProbe {
  OSStatus tooSmall, otherType, otherName, exact;
  ByteCount actualSize;
};

OSStatus ProbeParameters(EventHandlerCallRef call, EventRef event, void* userData) {
  auto* probe = static_cast<ParameterProbe*>(userData);
  HICommand command;
  probe->tooSmall = GetEventParameter(event, kEventParamDirectObject, typeHICommand, nullptr, 4, nullptr, &command);
  probe->otherType = GetEventParameter(event, kEventParamDirectObject, 0x54455854, nullptr, sizeof command,
                                       nullptr, &command);
  probe->otherName = GetEventParameter(event, 0x78787878, typeHICommand, nullptr, sizeof command, nullptr, &command);
  EventParamType type = 0;
  probe->exact = GetEventParameter(event, kEventParamDirectObject, typeHICommand, &type, sizeof command,
                                   &probe->actualSize, &command);
  return CallNextEventHandler(call, event);
}

TEST_F(EventsTest, EventParameterIsCheckedForNameTypeAndSize) {
  EventHandlerUPP probeUPP = NewEventHandlerUPP(ProbeParameters);
  ParameterProbe probe{};
  ASSERT_EQ(noErr, InstallEventHandler(GetControlEventTarget(field_), probeUPP, 1, &kCommandProcess, &probe, nullptr));
  SimSendCommand(field_, 0x61626364);
  EXPECT_EQ(paramErr, probe.tooSmall);
  EXPECT_EQ(errAECoercionFail, probe.otherType);
  EXPECT_EQ(eventParameterNotFoundErr, probe.otherName);
  EXPECT_EQ(noErr, probe.exact);
  EXPECT_EQ(sizeof(HICommand), probe.actualSize);
  DisposeEventHandlerUPP(probeUPP);
}

// A key filter that records what it sees, blocks digits and turns q into Q.
struct FilterLog {
  std::vector<SInt16> charCodes;
  std::vector<EventModifiers> modifiers;
};
FilterLog* gFilterLog = nullptr;

ControlKeyFilterResult RecordingFilter(ControlRef control, SInt16* keyCode, SInt16* charCode,
                                       EventModifiers* modifiers) {
  (void)control;
  (void)keyCode;
  gFilterLog->charCodes.push_back(*charCode);
  gFilterLog->modifiers.push_back(*modifiers);
  if ((*modifiers & cmdKey) == 0 && *charCode >= '0' && *charCode <= '9') return kControlKeyFilterBlockKey;
  if (*charCode == 'q') *charCode = 'Q';
  return kControlKeyFilterPassKey;
}

TEST_F(EventsTest, KeyFilterSeesEveryKeyBeforeItIsApplied) {
  FilterLog log;
  gFilterLog = &log;
  ControlKeyFilterUPP filter = NewControlKeyFilterUPP(RecordingFilter);
  ASSERT_EQ(noErr, SetControlData(field_, 0, kControlEditTextKeyFilterTag, sizeof filter, &filter));
  SetText(field_, "");
  EXPECT_EQ(kSimKeyApplied, SimTypeKey(field_, 'a', 0));
  EXPECT_EQ(kSimKeyBlocked, SimTypeKey(field_, '1', 0));
  EXPECT_EQ(kSimKeyApplied, SimTypeKey(field_, 'q', 0));
  EXPECT_EQ(kSimKeyApplied, SimTypeKey(field_, kBackspaceCharCode, 0));
  EXPECT_EQ(2, SimTypeText(field_, "b2c"));
  ASSERT_TRUE(SimSetScrapTextUTF8("7"));
  EXPECT_EQ(kSimKeyApplied, SimTypeKey(field_, 'v', cmdKey));  // Command-V passes the filter, then pastes
  EXPECT_EQ("abc7", TextOf(field_));
  EXPECT_EQ((std::vector<SInt16>{'a', '1', 'q', kBackspaceCharCode, 'b', '2', 'c', 'v'}), log.charCodes);
  EXPECT_EQ(cmdKey, log.modifiers.back());
  DisposeControlKeyFilterUPP(filter);
  gFilterLog = nullptr;
}

struct EditCase {
  const char* name;
  const char* text;
  SInt16 selStart, selEnd;
  UniChar key;
  EventModifiers modifiers;
  SimKeyResult result;
  const char* expectedText;
  SInt16 expectedStart, expectedEnd;
};

// Names the case in the test's name.
void PrintTo(const EditCase& c, std::ostream* os) { *os << c.name; }

class EditingKeysTest : public EventsTest, public ::testing::WithParamInterface<EditCase> {};

TEST_P(EditingKeysTest, KeyEditsTheTextAsTheToolkitDoes) {
  const EditCase& c = GetParam();
  SetText(field_, c.text);
  Select(field_, c.selStart, c.selEnd);
  EXPECT_EQ(c.result, SimTypeKey(field_, c.key, c.modifiers));
  EXPECT_EQ(c.expectedText, TextOf(field_));
  ControlEditTextSelectionRec selection = SimGetControlSelection(field_);
  EXPECT_EQ(c.expectedStart, selection.selStart);
  EXPECT_EQ(c.expectedEnd, selection.selEnd);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, EditingKeysTest,
    ::testing::Values(
        EditCase{"CharacterAtCaret", "abc", 1, 1, 'X', 0, kSimKeyApplied, "aXbc", 2, 2},
        EditCase{"CharacterReplacesSelection", "abcd", 1, 3, 'X', 0, kSimKeyApplied, "aXd", 2, 2},
        EditCase{"BackspaceBeforeCaret", "abc", 3, 3, kBackspaceCharCode, 0, kSimKeyApplied, "ab", 2, 2},
        EditCase{"BackspaceAtStart", "abc", 0, 0, kBackspaceCharCode, 0, kSimKeyApplied, "abc", 0, 0},
        EditCase{"BackspaceSelection", "abcd", 1, 3, kBackspaceCharCode, 0, kSimKeyApplied, "ad", 1, 1},
        EditCase{"ForwardDeleteAfterCaret", "abc", 0, 0, kDeleteCharCode, 0, kSimKeyApplied, "bc", 0, 0},
        EditCase{"ForwardDeleteAtEnd", "abc", 3, 3, kDeleteCharCode, 0, kSimKeyApplied, "abc", 3, 3},
        EditCase{"LeftArrow", "abc", 2, 2, kLeftArrowCharCode, 0, kSimKeyApplied, "abc", 1, 1},
        EditCase{"LeftArrowCollapsesSelectionToStart", "abc", 1, 3, kLeftArrowCharCode, 0, kSimKeyApplied, "abc", 1, 1},
        EditCase{"RightArrowAtEnd", "abc", 3, 3, kRightArrowCharCode, 0, kSimKeyApplied, "abc", 3, 3},
        EditCase{"RightArrowCollapsesSelectionToEnd", "abc", 0, 2, kRightArrowCharCode, 0, kSimKeyApplied, "abc", 2, 2},
        EditCase{"Home", "abc", 2, 2, kHomeCharCode, 0, kSimKeyApplied, "abc", 0, 0},
        EditCase{"End", "abc", 0, 1, kEndCharCode, 0, kSimKeyApplied, "abc", 3, 3},
        EditCase{"ReturnDoesNothing", "abc", 1, 1, kReturnCharCode, 0, kSimKeyIgnored, "abc", 1, 1},
        EditCase{"CommandASelectsAll", "abc", 1, 1, 'a', cmdKey, kSimKeyApplied, "abc", 0, 3},
        EditCase{"OtherCommandKeyDoesNothing", "abc", 1, 1, 'q', cmdKey, kSimKeyIgnored, "abc", 1, 1},
        EditCase{"NonASCIICharacter", "", 0, 0, 0x00E9, 0, kSimKeyApplied, "\xC3\xA9", 1, 1}),
    CaseName<EditCase>);

TEST_F(EventsTest, PasteReplacesTheSelectionWithTheScrapsMacRomanText) {
  Select(field_, 1, 3);
  EXPECT_EQ(noErr, SimPaste(field_, "\xC3\xA9" "1"));  // stored on the scrap as 8E 31
  EXPECT_EQ("i\xC3\xA9" "1tial", TextOf(field_));
  ControlEditTextSelectionRec selection = SimGetControlSelection(field_);
  EXPECT_EQ(3, selection.selStart);
  EXPECT_EQ(3, selection.selEnd);

  const char roman[] = {'\x8E', '\xA5'};  // e acute, bullet
  SimSetScrapText(roman, sizeof roman);
  SetText(field_, "");
  EXPECT_EQ(kSimKeyApplied, SimTypeKey(field_, 'V', cmdKey));
  EXPECT_EQ("\xC3\xA9\xE2\x80\xA2", TextOf(field_));

  SimClearScrap();
  EXPECT_EQ(noErr, SimSendCommand(field_, kHICommandPaste));  // nothing to paste: handled, no change
  EXPECT_EQ("\xC3\xA9\xE2\x80\xA2", TextOf(field_));
  EXPECT_EQ(paramErr, SimPaste(field_, "\xE6\x97\xA5"));  // no Mac OS Roman form
}

TEST_F(EventsTest, PasswordFieldPastesIntoItsClearText) {
  ControlRef password = Control(3);
  ASSERT_EQ(noErr, SimPaste(password, "1234"));
  EXPECT_EQ("1234", TextOf(password));
  EXPECT_EQ(4, SimTypeText(password, "5678"));
  EXPECT_EQ("12345678", TextOf(password));
}

TEST_F(EventsTest, ControlsThatCannotTakeInputRefuseIt) {
  DisableControl(field_);
  EXPECT_EQ(kSimKeyIgnored, SimTypeKey(field_, 'a', 0));
  EXPECT_EQ(paramErr, SimPaste(field_, "a"));
  EnableControl(field_);
  SetControlVisibility(pane_, false, false);
  EXPECT_EQ(kSimKeyIgnored, SimTypeKey(field_, 'a', 0));
  EXPECT_EQ(kSimKeyIgnored, SimTypeKey(Control(103), 'a', 0));  // static text
  EXPECT_EQ(eventNotHandledErr, SimSendCommand(Control(2), kHICommandPaste));  // a popup does not paste
  EXPECT_EQ("initial", TextOf(field_));
}

TEST_F(EventsTest, TypingTakesTheFocusAndTabMovesIt) {
  ControlRef password = Control(3);
  ASSERT_EQ(noErr, EmbedControl(password, pane_));
  EXPECT_EQ(kSimKeyApplied, SimTypeKey(field_, 'x', 0));
  ControlRef focus = nullptr;
  ASSERT_EQ(noErr, GetKeyboardFocus(dialog_, &focus));
  EXPECT_EQ(field_, focus);
  SetText(password, "1234");
  EXPECT_EQ(kSimKeyApplied, SimTypeKey(field_, kTabCharCode, 0));
  ASSERT_EQ(noErr, GetKeyboardFocus(dialog_, &focus));
  EXPECT_EQ(password, focus);
  EXPECT_EQ(0, SimGetControlSelection(password).selStart);  // tabbing in selects the text
  EXPECT_EQ(4, SimGetControlSelection(password).selEnd);
  EXPECT_EQ(kSimKeyApplied, SimTypeKey(password, kTabCharCode, shiftKey));
  ASSERT_EQ(noErr, GetKeyboardFocus(dialog_, &focus));
  EXPECT_EQ(field_, focus);
  DisableControl(password);
  EXPECT_EQ(kSimKeyApplied, SimTypeKey(field_, kTabCharCode, 0));
  ASSERT_EQ(noErr, GetKeyboardFocus(dialog_, &focus));
  EXPECT_EQ(field_, focus);  // no other field to go to
  EXPECT_EQ("initialx", TextOf(field_));
}

TEST_F(EventsTest, CheckboxClickTogglesAndThenSendsItsCommandUpwards) {
  ControlRef checkbox = Control(4);
  ASSERT_EQ(noErr, EmbedControl(checkbox, pane_));
  HandlerPlan onPane = {"pane", &recorder_, Action::PassOn};
  Install(GetControlEventTarget(pane_), &onPane);
  recorder_.watched = checkbox;
  EXPECT_EQ(eventNotHandledErr, SimClickCheckBox(checkbox));
  EXPECT_EQ(1, GetControlValue(checkbox));
  ASSERT_EQ(1u, recorder_.calls.size());
  EXPECT_EQ(0x6368636Bu, recorder_.commands.at(0));  // 'chck'
  EXPECT_EQ(1, recorder_.valuesSeen.at(0));          // toggled before the command
  SimClickCheckBox(checkbox);
  EXPECT_EQ(0, GetControlValue(checkbox));
  EXPECT_EQ(0, recorder_.valuesSeen.at(1));
  EXPECT_EQ(paramErr, SimClickCheckBox(Control(2)));
  DisableControl(checkbox);
  EXPECT_EQ(paramErr, SimClickCheckBox(checkbox));
  EXPECT_EQ(0, GetControlValue(checkbox));
}

TEST_F(EventsTest, PopupChoiceSetsTheValueAndThenSendsItsCommand) {
  ControlRef popup = Control(2);
  ASSERT_EQ(noErr, EmbedControl(popup, pane_));
  HandlerPlan onWindow = {"window", &recorder_, Action::Consume};
  Install(GetWindowEventTarget(dialog_), &onWindow);
  recorder_.watched = popup;
  EXPECT_EQ(noErr, SimChoosePopupItem(popup, 3));
  EXPECT_EQ(3, GetControlValue(popup));
  ASSERT_EQ(1u, recorder_.calls.size());
  EXPECT_EQ(0x6B696E64u, recorder_.commands.at(0));  // 'kind'
  EXPECT_EQ(3, recorder_.valuesSeen.at(0));
  EXPECT_EQ(paramErr, SimChoosePopupItem(popup, 4));
  EXPECT_EQ(paramErr, SimChoosePopupItem(popup, 0));
  EXPECT_EQ(3, GetControlValue(popup));
  EXPECT_EQ(1u, recorder_.calls.size());
}

struct Remover {
  EventHandlerRef victim;
  Recorder* recorder;
};

OSStatus RemovingHandler(EventHandlerCallRef call, EventRef event, void* userData) {
  auto* remover = static_cast<Remover*>(userData);
  remover->recorder->calls.push_back("remover");
  RemoveEventHandler(remover->victim);
  return CallNextEventHandler(call, event);
}

TEST_F(EventsTest, HandlerRemovedWhileTheEventRunsIsNotCalled) {
  const long live = SimGetLiveUPPCount();
  EventHandlerUPP removing = NewEventHandlerUPP(RemovingHandler);
  EXPECT_EQ(live + 1, SimGetLiveUPPCount());
  HandlerPlan victim = {"victim", &recorder_, Action::Consume};
  Remover remover = {Install(GetControlEventTarget(field_), &victim), &recorder_};
  ASSERT_EQ(noErr, InstallEventHandler(GetControlEventTarget(field_), removing, 1, &kCommandProcess,
                                       &remover, nullptr));
  ASSERT_TRUE(SimSetScrapTextUTF8("!"));
  Select(field_, 7, 7);
  EXPECT_EQ(noErr, SimSendCommand(field_, kHICommandPaste));
  EXPECT_EQ((std::vector<std::string>{"remover"}), recorder_.calls);
  EXPECT_EQ("initial!", TextOf(field_));  // the standard handling ran in its place
  DisposeEventHandlerUPP(removing);
  EXPECT_EQ(live, SimGetLiveUPPCount());
}

}  // namespace
