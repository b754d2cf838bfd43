// Controls: the embedding hierarchy, values, state, control data with its
// size checks, the reference value and the keyboard focus.
#include <cstring>

#include "TestSupport.h"

namespace {

using ControlsTest = SampleNibTest;

TEST_F(ControlsTest, EmbeddingMovesAControlOutOfItsOldParent) {
  ControlRef root = nullptr;
  ASSERT_EQ(noErr, GetRootControl(window_, &root));
  UInt16 count = 0;
  ASSERT_EQ(noErr, CountSubControls(root, &count));
  ASSERT_EQ(5, count);
  ControlRef first = nullptr;
  ASSERT_EQ(noErr, GetIndexedSubControl(root, 1, &first));
  EXPECT_EQ(Control(1), first);
  EXPECT_EQ(errUnknownControl, GetIndexedSubControl(root, 0, &first));
  EXPECT_EQ(errUnknownControl, GetIndexedSubControl(root, 6, &first));

  // Move them all the way the dialog extension does: always index 1.
  for (UInt16 pass = 0; pass < count; ++pass) {
    ControlRef control = nullptr;
    ASSERT_EQ(noErr, GetIndexedSubControl(root, 1, &control));
    ASSERT_EQ(noErr, EmbedControl(control, pane_));
    EXPECT_EQ(dialog_, GetControlOwner(control));
    EXPECT_EQ(pane_, SimGetParentControl(control));
  }
  ASSERT_EQ(noErr, CountSubControls(root, &count));
  EXPECT_EQ(0, count);
  ASSERT_EQ(noErr, CountSubControls(pane_, &count));
  EXPECT_EQ(5, count);

  // The nib window goes; the moved controls stay with the dialog.
  DisposeWindow(window_);
  window_ = nullptr;
  ControlRef popup = Control(2, dialog_);
  ASSERT_NE(nullptr, popup);
  EXPECT_EQ(2, GetControlValue(popup));
  EXPECT_EQ("initial", TextOf(Control(1, dialog_)));
}

TEST_F(ControlsTest, EmbeddingRefusesWhatCannotHold) {
  ControlRef root = nullptr;
  ASSERT_EQ(noErr, GetRootControl(window_, &root));
  EXPECT_EQ(errCantEmbedRoot, EmbedControl(root, pane_));
  EXPECT_EQ(errControlIsNotEmbedder, EmbedControl(Control(2), Control(1)));
  const Rect bounds = {0, 0, 10, 10};
  ControlRef inner = SimCreateUserPane(dialog_, pane_, &bounds);
  ASSERT_NE(nullptr, inner);
  EXPECT_EQ(errCantEmbedIntoSelf, EmbedControl(pane_, inner));
  EXPECT_EQ(errCantEmbedIntoSelf, EmbedControl(pane_, pane_));
  EXPECT_EQ(noErr, EmbedControl(Control(1), inner));
  EXPECT_EQ(inner, SimGetParentControl(Control(1, dialog_)));
}

TEST_F(ControlsTest, BoundsAreKeptAndOffsetAsSInt16) {
  Rect bounds;
  GetControlBounds(Control(1), &bounds);
  EXPECT_EQ(10, bounds.top);
  EXPECT_EQ(20, bounds.left);
  EXPECT_EQ(32, bounds.bottom);
  EXPECT_EQ(120, bounds.right);
  OffsetRect(&bounds, 70, -5);
  SetControlBounds(Control(1), &bounds);
  Rect moved;
  GetControlBounds(Control(1), &moved);
  EXPECT_EQ(5, moved.top);
  EXPECT_EQ(90, moved.left);
  EXPECT_EQ(27, moved.bottom);
  EXPECT_EQ(190, moved.right);
  Rect content;
  ASSERT_EQ(noErr, GetWindowBounds(window_, kWindowContentRgn, &content));
  EXPECT_EQ(300, content.right - content.left);
  EXPECT_EQ(200, content.bottom - content.top);
  EXPECT_EQ(paramErr, GetWindowBounds(window_, 32, &content));
}

TEST_F(ControlsTest, ValueStaysWithinMinimumAndMaximum) {
  ControlRef popup = Control(2);
  EXPECT_EQ(1, GetControlMinimum(popup));
  EXPECT_EQ(3, GetControlMaximum(popup));
  const struct {
    SInt16 set;
    SInt16 expected;
  } cases[] = {{3, 3}, {1, 1}, {0, 1}, {8, 3}, {-1, 1}, {32767, 3}};
  for (const auto& c : cases) {
    SetControlValue(popup, c.set);
    EXPECT_EQ(c.expected, GetControlValue(popup)) << c.set;
  }
  SetControlMaximum(popup, 2);
  EXPECT_EQ(2, GetControlValue(popup));
  ControlRef checkbox = Control(4);
  SetControlValue(checkbox, true);
  EXPECT_EQ(1, GetControlValue(checkbox));
}

TEST_F(ControlsTest, EnabledIsTheControlsOwnVisibleFollowsItsEmbedders) {
  ControlRef field = Control(1);
  ASSERT_EQ(noErr, EmbedControl(field, pane_));
  EXPECT_TRUE(IsControlEnabled(field));
  ASSERT_EQ(noErr, DisableControl(field));
  EXPECT_FALSE(IsControlEnabled(field));
  ASSERT_EQ(noErr, EnableControl(field));
  EXPECT_TRUE(IsControlEnabled(field));
  EXPECT_FALSE(IsControlEnabled(Control(103)));  // disabled in the nib

  EXPECT_TRUE(IsControlVisible(field));
  ASSERT_EQ(noErr, SetControlVisibility(pane_, false, false));
  EXPECT_FALSE(IsControlVisible(field));
  ShowControl(pane_);
  EXPECT_TRUE(IsControlVisible(field));
  ASSERT_EQ(noErr, SetControlVisibility(field, false, false));
  EXPECT_FALSE(IsControlVisible(field));
}

TEST_F(ControlsTest, TextIsCopiedInAndCopiedOut) {
  ControlRef field = Control(1);
  CFStringRef text = MakeString("user01");
  ASSERT_EQ(noErr, SetControlData(field, kControlEditTextPart, kControlEditTextCFStringTag, sizeof text, &text));
  CFRelease(text);  // the control keeps its own copy
  CFStringRef read = nullptr;
  Size actual = 0;
  ASSERT_EQ(noErr, GetControlData(field, kControlEditTextPart, kControlEditTextCFStringTag, sizeof read,
                                  &read, &actual));
  EXPECT_EQ(static_cast<Size>(sizeof read), actual);
  EXPECT_EQ("user01", Str(read));
  EXPECT_EQ(1, CFGetRetainCount(read));  // the reader's to release
  CFRelease(read);
  ControlEditTextSelectionRec selection = SimGetControlSelection(field);
  EXPECT_EQ(6, selection.selStart);  // the caret after the new text
  EXPECT_EQ(6, selection.selEnd);
}

TEST_F(ControlsTest, SizeOfAnythingButTheReferenceIsRefused) {
  ControlRef field = Control(1);
  CFStringRef text = CFSTR("abc");
  // A size of 4 is what a 32-bit build passed for a string reference.
  EXPECT_EQ(errDataSizeMismatch, SetControlData(field, 0, kControlEditTextCFStringTag, 4, &text));
  EXPECT_EQ("initial", TextOf(field));
  CFStringRef read = nullptr;
  EXPECT_EQ(errDataSizeMismatch, GetControlData(field, 5, kControlEditTextCFStringTag, 4, &read, nullptr));
  EXPECT_EQ(nullptr, read);
  ControlKeyFilterUPP filter = nullptr;
  EXPECT_EQ(errDataSizeMismatch, SetControlData(field, 0, kControlEditTextKeyFilterTag, 4, &filter));
  ControlEditTextSelectionRec selection = {0, 1};
  EXPECT_EQ(errDataSizeMismatch, SetControlData(field, 5, kControlEditTextSelectionTag, 8, &selection));
  Size size = 0;
  ASSERT_EQ(noErr, GetControlData(field, 5, kControlEditTextCFStringTag, 0, nullptr, &size));
  EXPECT_EQ(static_cast<Size>(sizeof(CFStringRef)), size);
}

TEST_F(ControlsTest, PasswordTextLivesUnderItsOwnTag) {
  ControlRef password = Control(3);
  CFStringRef secret = CFSTR("1234");
  ASSERT_EQ(noErr, SetControlData(password, 5, kControlEditTextPasswordCFStringTag, sizeof secret, &secret));
  CFStringRef clear = nullptr;
  ASSERT_EQ(noErr, GetControlData(password, 5, kControlEditTextPasswordCFStringTag, sizeof clear, &clear, nullptr));
  EXPECT_EQ("1234", Take(clear));
  CFStringRef shown = nullptr;
  ASSERT_EQ(noErr, GetControlData(password, 5, kControlEditTextCFStringTag, sizeof shown, &shown, nullptr));
  EXPECT_EQ("\xE2\x80\xA2\xE2\x80\xA2\xE2\x80\xA2\xE2\x80\xA2", Take(shown));
  EXPECT_EQ(errDataNotSupported, SetControlData(password, 5, kControlEditTextCFStringTag, sizeof secret, &secret));
  EXPECT_EQ(errDataNotSupported,
            SetControlData(Control(1), 5, kControlEditTextPasswordCFStringTag, sizeof secret, &secret));
}

TEST_F(ControlsTest, StaticTextTakesItsStringForTheWholeControlOrTheTextPart) {
  ControlRef note = Control(103);
  EXPECT_EQ("4 digits", TextOf(note));
  CFStringRef text = CFSTR("4-8 digits");
  ASSERT_EQ(noErr, SetControlData(note, kControlEntireControl, kControlStaticTextCFStringTag, sizeof text, &text));
  EXPECT_EQ("4-8 digits", TextOf(note));
  ASSERT_EQ(noErr, SetControlData(note, kControlEditTextPart, kControlStaticTextCFStringTag, sizeof text, &text));
  EXPECT_EQ(errInvalidPartCode, SetControlData(note, 2, kControlStaticTextCFStringTag, sizeof text, &text));
  ControlEditTextSelectionRec selection = {0, 0};
  EXPECT_EQ(errDataNotSupported, SetControlData(note, 0, kControlEditTextSelectionTag, sizeof selection, &selection));
  EXPECT_EQ(errDataNotSupported, SetControlData(Control(4), 0, kControlStaticTextCFStringTag, sizeof text, &text));
}

TEST_F(ControlsTest, SelectionIsClampedAndOrdered) {
  ControlRef field = Control(1);  // "initial"
  const struct {
    SInt16 start, end, expectedStart, expectedEnd;
  } cases[] = {{1, 3, 1, 3}, {3, 1, 1, 3}, {-4, 2, 0, 2}, {2, 99, 2, 7}, {0, 32767, 0, 7}};
  for (const auto& c : cases) {
    ControlEditTextSelectionRec selection = {c.start, c.end};
    ASSERT_EQ(noErr, SetControlData(field, 5, kControlEditTextSelectionTag, sizeof selection, &selection));
    ControlEditTextSelectionRec read = {-1, -1};
    ASSERT_EQ(noErr, GetControlData(field, 5, kControlEditTextSelectionTag, sizeof read, &read, nullptr));
    EXPECT_EQ(c.expectedStart, read.selStart) << c.start << ".." << c.end;
    EXPECT_EQ(c.expectedEnd, read.selEnd) << c.start << ".." << c.end;
  }
}

ControlKeyFilterResult PassEverything(ControlRef, SInt16*, SInt16*, EventModifiers*) {
  return kControlKeyFilterPassKey;
}

TEST_F(ControlsTest, KeyFilterIsStoredAndReadBack) {
  const long live = SimGetLiveUPPCount();
  ControlKeyFilterUPP filter = NewControlKeyFilterUPP(PassEverything);
  EXPECT_EQ(live + 1, SimGetLiveUPPCount());
  ASSERT_EQ(noErr, SetControlData(Control(1), 0, kControlEditTextKeyFilterTag, sizeof filter, &filter));
  ControlKeyFilterUPP read = nullptr;
  ASSERT_EQ(noErr, GetControlData(Control(1), 0, kControlEditTextKeyFilterTag, sizeof read, &read, nullptr));
  EXPECT_EQ(filter, read);
  DisposeControlKeyFilterUPP(filter);
  EXPECT_EQ(live, SimGetLiveUPPCount());
}

TEST_F(ControlsTest, ReferenceAbove4GiBComesBackWhole) {
  auto high = reinterpret_cast<SRefCon>(uintptr_t{0x7F123456789A});
  SetControlReference(Control(1), high);
  EXPECT_EQ(high, GetControlReference(Control(1)));
  EXPECT_EQ(nullptr, GetControlReference(Control(2)));
}

TEST_F(ControlsTest, FocusGoesOnlyToAnEnabledVisibleEditTextOfTheWindow) {
  ControlRef focused = Control(2);
  ASSERT_EQ(noErr, GetKeyboardFocus(window_, &focused));
  EXPECT_EQ(nullptr, focused);
  EXPECT_EQ(noErr, SetKeyboardFocus(window_, Control(1), kControlEditTextPart));
  ASSERT_EQ(noErr, GetKeyboardFocus(window_, &focused));
  EXPECT_EQ(Control(1), focused);
  EXPECT_EQ(errControlDoesntSupportFocus, SetKeyboardFocus(window_, Control(103), kControlEditTextPart));
  EXPECT_EQ(errUnknownControl, SetKeyboardFocus(dialog_, Control(3), kControlEditTextPart));
  DisableControl(Control(3));
  EXPECT_EQ(errCouldntSetFocus, SetKeyboardFocus(window_, Control(3), kControlEditTextPart));
  ASSERT_EQ(noErr, GetKeyboardFocus(window_, &focused));
  EXPECT_EQ(Control(1), focused);
  EXPECT_EQ(noErr, SetKeyboardFocus(window_, Control(1), kControlFocusNoPart));
  ASSERT_EQ(noErr, GetKeyboardFocus(window_, &focused));
  EXPECT_EQ(nullptr, focused);
}

TEST_F(ControlsTest, FocusLeavesAWindowWithTheControl) {
  ASSERT_EQ(noErr, SetKeyboardFocus(window_, Control(1), kControlEditTextPart));
  ControlRef field = Control(1);
  ASSERT_EQ(noErr, EmbedControl(field, pane_));
  ControlRef focused = field;
  ASSERT_EQ(noErr, GetKeyboardFocus(window_, &focused));
  EXPECT_EQ(nullptr, focused);
  EXPECT_EQ(noErr, SetKeyboardFocus(dialog_, field, kControlEditTextPart));
}

TEST_F(ControlsTest, PopupMenuItemsAndMarks) {
  MenuRef menu = GetControlPopupMenuHandle(Control(2));
  ASSERT_NE(nullptr, menu);
  EXPECT_EQ(nullptr, GetControlPopupMenuHandle(Control(1)));
  ASSERT_EQ(3, SimCountMenuItems(menu));
  EXPECT_EQ("Second", Take(SimCopyMenuItemText(menu, 2)));
  EXPECT_EQ(18, SimGetItemMark(menu, 1));
  SetItemMark(menu, 1, 0);
  EXPECT_EQ(0, SimGetItemMark(menu, 1));
  SetItemMark(menu, 3, 18);
  EXPECT_EQ(18, SimGetItemMark(menu, 3));
  SetItemMark(menu, 4, 18);  // outside the menu: ignored
  EXPECT_EQ(nullptr, SimCopyMenuItemText(menu, 4));
}

TEST_F(ControlsTest, DrawingIsCounted) {
  EXPECT_EQ(0u, SimGetDrawCount(Control(1)));
  Draw1Control(Control(1));
  Draw1Control(Control(1));
  EXPECT_EQ(2u, SimGetDrawCount(Control(1)));
}

TEST_F(ControlsTest, ControlNotInTheWindowIsNotFound) {
  const ControlID absent = {kSignature, 99};
  ControlRef control = Control(1);
  EXPECT_EQ(errUnknownControl, GetControlByID(window_, &absent, &control));
  EXPECT_EQ(nullptr, control);
  const ControlID otherSignature = {0x6A6C6F67, 1};  // 'jlog'
  EXPECT_EQ(errUnknownControl, GetControlByID(window_, &otherSignature, &control));
}

}  // namespace
