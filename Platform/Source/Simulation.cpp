// The user, played through the toolkit's own paths: keys through the key
// filter and the editing rules, Command keys, pastes, clicks and popup
// choices as command events; and the reset of process state.
#include "HIToolboxInternal.h"

namespace {

constexpr UInt32 kCommandFromControl = 1u << 1;  // the HICommand attribute for a control's command

bool CanTakeInput(ControlRef control) {
  return control != nullptr && control->enabled && standin::IsEffectivelyVisible(control);
}

// The keyboard's virtual key code for an editing key, 0 for a character.
SInt16 VirtualKeyCode(UniChar charCode) {
  switch (charCode) {
    case kBackspaceCharCode: return 0x33;
    case kTabCharCode: return 0x30;
    case kReturnCharCode: return 0x24;
    case kEnterCharCode: return 0x4C;
    case kEscapeCharCode: return 0x35;
    case kDeleteCharCode: return 0x75;
    case kLeftArrowCharCode: return 0x7B;
    case kRightArrowCharCode: return 0x7C;
    case kDownArrowCharCode: return 0x7D;
    case kUpArrowCharCode: return 0x7E;
    case kHomeCharCode: return 0x73;
    case kEndCharCode: return 0x77;
    default: return 0;
  }
}

void CollectFocusable(ControlRef control, std::vector<ControlRef>* out) {
  if (standin::IsEditText(control) && CanTakeInput(control)) out->push_back(control);
  for (auto& child : control->children) CollectFocusable(child.get(), out);
}

void MoveFocus(ControlRef from, bool backward) {
  std::vector<ControlRef> fields;
  CollectFocusable(from->window->root.get(), &fields);
  for (size_t i = 0; i < fields.size(); ++i) {
    if (fields[i] != from) continue;
    ControlRef next = fields[(i + (backward ? fields.size() - 1 : 1)) % fields.size()];
    SetKeyboardFocus(next->window, next, kControlEditTextPart);
    next->selStart = 0;  // tabbing into a field selects its text
    next->selEnd = next->text.size();
    return;
  }
}

SimKeyResult Edit(ControlRef control, UniChar charCode, EventModifiers modifiers) {
  std::u16string& text = control->text;
  size_t& start = control->selStart;
  size_t& end = control->selEnd;
  const bool selection = start != end;
  switch (charCode) {
    case kBackspaceCharCode:
      if (!selection && start > 0) --start;
      standin::ReplaceSelection(control, std::u16string());
      return kSimKeyApplied;
    case kDeleteCharCode:
      if (!selection && end < text.size()) ++end;
      standin::ReplaceSelection(control, std::u16string());
      return kSimKeyApplied;
    case kLeftArrowCharCode:
      start = end = selection ? start : (start > 0 ? start - 1 : 0);
      return kSimKeyApplied;
    case kRightArrowCharCode:
      start = end = selection ? end : std::min(end + 1, text.size());
      return kSimKeyApplied;
    case kUpArrowCharCode:
    case kHomeCharCode:
      start = end = 0;
      return kSimKeyApplied;
    case kDownArrowCharCode:
    case kEndCharCode:
      start = end = text.size();
      return kSimKeyApplied;
    case kTabCharCode:
      MoveFocus(control, (modifiers & shiftKey) != 0);
      return kSimKeyApplied;
    default:
      if (charCode < 0x20) return kSimKeyIgnored;  // return, enter, escape, other controls
      standin::ReplaceSelection(control, std::u16string(1, static_cast<char16_t>(charCode)));
      return kSimKeyApplied;
  }
}

}  // namespace

void SimResetState(void) {
  standin::ResetAlerts();
  standin::ResetBeeps();
  standin::ResetScrap();
  standin::ResetNewPtrFailures();
}

SimKeyResult SimTypeKey(ControlRef control, UniChar charCode, EventModifiers modifiers) {
  if (!CanTakeInput(control) || !standin::IsEditText(control)) return kSimKeyIgnored;
  if (SetKeyboardFocus(control->window, control, kControlEditTextPart) != noErr) return kSimKeyIgnored;
  if (control->keyFilter != nullptr) {
    SInt16 keyCode = VirtualKeyCode(charCode);
    SInt16 character = static_cast<SInt16>(charCode);
    EventModifiers keyModifiers = modifiers;
    if (control->keyFilter(control, &keyCode, &character, &keyModifiers) == kControlKeyFilterBlockKey) {
      return kSimKeyBlocked;
    }
    charCode = static_cast<UniChar>(character);
    modifiers = keyModifiers;
  }
  if ((modifiers & cmdKey) != 0) {
    UInt32 command = 0;
    if (charCode == u'a' || charCode == u'A') command = kHICommandSelectAll;
    if (charCode == u'v' || charCode == u'V') command = kHICommandPaste;
    if (command == 0) return kSimKeyIgnored;
    return standin::SendCommandToControl(control, command, 0) == noErr ? kSimKeyApplied : kSimKeyIgnored;
  }
  return Edit(control, charCode, modifiers);
}

CFIndex SimTypeText(ControlRef control, const char* utf8Text) {
  std::u16string text;
  if (utf8Text == nullptr || !standin::DecodeText(utf8Text, kCFStringEncodingUTF8, &text)) return 0;
  CFIndex applied = 0;
  for (char16_t unit : text) {
    if (SimTypeKey(control, unit, 0) == kSimKeyApplied) ++applied;
  }
  return applied;
}

OSStatus SimPaste(ControlRef control, const char* utf8Text) {
  if (!CanTakeInput(control) || !SimSetScrapTextUTF8(utf8Text)) return paramErr;
  if (standin::IsEditText(control)) SetKeyboardFocus(control->window, control, kControlEditTextPart);
  return standin::SendCommandToControl(control, kHICommandPaste, 0);
}

OSStatus SimSendCommand(ControlRef control, UInt32 commandID) {
  if (control == nullptr) return paramErr;
  return standin::SendCommandToControl(control, commandID, 0);
}

OSStatus SimClickCheckBox(ControlRef control) {
  if (!CanTakeInput(control) || control->kind != kSimControlCheckBox) return paramErr;
  SetControlValue(control, control->value != 0 ? 0 : 1);
  if (control->command == 0) return noErr;
  return standin::SendCommandToControl(control, control->command, kCommandFromControl);
}

OSStatus SimChoosePopupItem(ControlRef control, MenuItemIndex item) {
  if (!CanTakeInput(control) || control->kind != kSimControlPopupButton || control->menu == nullptr ||
      item < 1 || item > control->menu->items.size()) {
    return paramErr;
  }
  SetControlValue(control, static_cast<SInt16>(item));
  if (control->command == 0) return noErr;
  return standin::SendCommandToControl(control, control->command, kCommandFromControl);
}
