// Controls: the embedding hierarchy, bounds, values, enabled and visible
// state, control data by tag, the reference value and the keyboard focus.
#include <algorithm>
#include <climits>
#include <cstring>

#include "HIToolboxInternal.h"

namespace {

SInt16 Clamp(SInt16 value, SInt16 low, SInt16 high) {
  return value < low ? low : value > high ? high : value;
}

SInt16 ToSInt16(size_t value) { return value > SHRT_MAX ? SHRT_MAX : static_cast<SInt16>(value); }

bool IsEmbedder(ControlRef control) {
  return control->kind == kSimControlRoot || control->kind == kSimControlUserPane;
}

bool IsWithin(ControlRef control, ControlRef ancestor) {
  for (ControlRef c = control; c != nullptr; c = c->parent) {
    if (c == ancestor) return true;
  }
  return false;
}

void SetWindow(ControlRef control, WindowRef window) {
  control->window = window;
  for (auto& child : control->children) SetWindow(child.get(), window);
}

ControlRef FindByID(ControlRef control, const ControlID& id) {
  if (control->kind != kSimControlRoot && control->id.signature == id.signature &&
      control->id.id == id.id) {
    return control;
  }
  for (auto& child : control->children) {
    if (ControlRef found = FindByID(child.get(), id)) return found;
  }
  return nullptr;
}

// The tags an edit or static text offers, and the size each needs.
enum class Tag { Text, Password, Selection, KeyFilter, None };

Tag TagOf(ControlRef control, ResType tag) {
  bool edit = standin::IsEditText(control);
  if (!edit && control->kind != kSimControlStaticText) return Tag::None;
  switch (tag) {
    case kControlEditTextCFStringTag:
      return Tag::Text;
    case kControlEditTextPasswordCFStringTag:
      return control->kind == kSimControlPasswordEditText ? Tag::Password : Tag::None;
    case kControlEditTextSelectionTag:
      return edit ? Tag::Selection : Tag::None;
    case kControlEditTextKeyFilterTag:
      return edit ? Tag::KeyFilter : Tag::None;
    default:
      return Tag::None;
  }
}

Size SizeOf(Tag tag) {
  switch (tag) {
    case Tag::Text:
    case Tag::Password:
      return sizeof(CFStringRef);
    case Tag::Selection:
      return sizeof(ControlEditTextSelectionRec);
    case Tag::KeyFilter:
      return sizeof(ControlKeyFilterUPP);
    default:
      return 0;
  }
}

// Checks the part and the tag; noErr with *tag set when the data exists.
OSErr Lookup(ControlRef control, ControlPartCode part, ResType tagName, Tag* tag) {
  *tag = TagOf(control, tagName);
  if (*tag == Tag::None) return errDataNotSupported;
  if (part != kControlEntireControl && part != kControlEditTextPart) return errInvalidPartCode;
  return noErr;
}

}  // namespace

namespace standin {

bool IsEditText(ControlRef control) {
  return control->kind == kSimControlEditText || control->kind == kSimControlPasswordEditText;
}

bool IsEffectivelyVisible(ControlRef control) {
  for (ControlRef c = control; c != nullptr; c = c->parent) {
    if (!c->visible) return false;
  }
  return true;
}

ControlRef NewControl(SimControlKind kind, ControlRef parent) {
  auto control = std::make_unique<OpaqueControlRef>(kind, parent->window);
  control->parent = parent;
  ControlRef result = control.get();
  parent->children.push_back(std::move(control));
  return result;
}

void SetEditText(ControlRef control, std::u16string text) {
  control->text = std::move(text);
  control->selStart = control->selEnd = control->text.size();
}

void ReplaceSelection(ControlRef control, const std::u16string& insert) {
  size_t start = std::min(control->selStart, control->text.size());
  size_t end = std::min(std::max(control->selEnd, start), control->text.size());
  control->text.replace(start, end - start, insert);
  control->selStart = control->selEnd = start + insert.size();
}

}  // namespace standin

ControlKeyFilterUPP NewControlKeyFilterUPP(ControlKeyFilterProcPtr userRoutine) {
  if (userRoutine != nullptr) standin::CountUPP(1);
  return userRoutine;
}

void DisposeControlKeyFilterUPP(ControlKeyFilterUPP userUPP) {
  if (userUPP != nullptr) standin::CountUPP(-1);
}

OSErr GetRootControl(WindowRef inWindow, ControlRef* outControl) {
  if (inWindow == nullptr || outControl == nullptr) return paramErr;
  *outControl = inWindow->root.get();
  if (*outControl == nullptr) return errNoRootControl;
  return noErr;
}

WindowRef GetControlOwner(ControlRef inControl) {
  return inControl != nullptr ? inControl->window : nullptr;
}

OSStatus GetControlByID(WindowRef inWindow, const ControlID* inID, ControlRef* outControl) {
  if (inWindow == nullptr || inID == nullptr || outControl == nullptr) return paramErr;
  *outControl = FindByID(inWindow->root.get(), *inID);
  if (*outControl == nullptr) return errUnknownControl;
  return noErr;
}

OSErr CountSubControls(ControlRef inControl, UInt16* outNumChildren) {
  if (inControl == nullptr || outNumChildren == nullptr) return paramErr;
  *outNumChildren = static_cast<UInt16>(inControl->children.size());
  return noErr;
}

OSErr GetIndexedSubControl(ControlRef inControl, UInt16 inIndex, ControlRef* outSubControl) {
  if (inControl == nullptr || outSubControl == nullptr) return paramErr;
  if (inIndex < 1 || inIndex > inControl->children.size()) return errUnknownControl;
  *outSubControl = inControl->children[inIndex - 1u].get();
  return noErr;
}

OSErr EmbedControl(ControlRef inControl, ControlRef inContainer) {
  if (inControl == nullptr || inContainer == nullptr) return paramErr;
  if (inControl->kind == kSimControlRoot) return errCantEmbedRoot;
  if (!IsEmbedder(inContainer)) return errControlIsNotEmbedder;
  if (IsWithin(inContainer, inControl)) return errCantEmbedIntoSelf;
  if (inControl->parent == inContainer) return noErr;
  WindowRef oldWindow = inControl->window;
  if (oldWindow != inContainer->window && oldWindow->focus != nullptr &&
      IsWithin(oldWindow->focus, inControl)) {
    oldWindow->focus = nullptr;
  }
  auto& siblings = inControl->parent->children;
  auto it = std::find_if(siblings.begin(), siblings.end(),
                         [inControl](const auto& child) { return child.get() == inControl; });
  std::unique_ptr<OpaqueControlRef> moving = std::move(*it);
  siblings.erase(it);
  moving->parent = inContainer;
  SetWindow(moving.get(), inContainer->window);
  inContainer->children.push_back(std::move(moving));
  return noErr;
}

Rect* GetControlBounds(ControlRef control, Rect* bounds) {
  if (control != nullptr && bounds != nullptr) *bounds = control->bounds;
  return bounds;
}

void SetControlBounds(ControlRef control, const Rect* bounds) {
  if (control != nullptr && bounds != nullptr) control->bounds = *bounds;
}

SInt16 GetControlValue(ControlRef theControl) { return theControl != nullptr ? theControl->value : 0; }

void SetControlValue(ControlRef theControl, SInt16 newValue) {
  if (theControl == nullptr) return;
  theControl->value = Clamp(newValue, theControl->minimum, theControl->maximum);
}

SInt16 GetControlMinimum(ControlRef theControl) {
  return theControl != nullptr ? theControl->minimum : 0;
}

void SetControlMinimum(ControlRef theControl, SInt16 newMinimum) {
  if (theControl == nullptr) return;
  theControl->minimum = newMinimum;
  if (theControl->maximum < newMinimum) theControl->maximum = newMinimum;
  theControl->value = Clamp(theControl->value, theControl->minimum, theControl->maximum);
}

SInt16 GetControlMaximum(ControlRef theControl) {
  return theControl != nullptr ? theControl->maximum : 0;
}

void SetControlMaximum(ControlRef theControl, SInt16 newMaximum) {
  if (theControl == nullptr) return;
  theControl->maximum = newMaximum;
  if (theControl->minimum > newMaximum) theControl->minimum = newMaximum;
  theControl->value = Clamp(theControl->value, theControl->minimum, theControl->maximum);
}

OSStatus EnableControl(ControlRef inControl) {
  if (inControl == nullptr) return paramErr;
  inControl->enabled = true;
  return noErr;
}

OSStatus DisableControl(ControlRef inControl) {
  if (inControl == nullptr) return paramErr;
  inControl->enabled = false;
  return noErr;
}

Boolean IsControlEnabled(ControlRef inControl) { return inControl != nullptr && inControl->enabled; }

OSErr SetControlVisibility(ControlRef inControl, Boolean inIsVisible, Boolean) {
  if (inControl == nullptr) return paramErr;
  inControl->visible = inIsVisible != 0;
  return noErr;
}

void ShowControl(ControlRef theControl) {
  if (theControl != nullptr) theControl->visible = true;
}

Boolean IsControlVisible(ControlRef inControl) {
  return inControl != nullptr && standin::IsEffectivelyVisible(inControl);
}

void Draw1Control(ControlRef theControl) {
  if (theControl != nullptr) ++theControl->drawCount;
}

OSErr SetControlData(ControlRef inControl, ControlPartCode inPart, ResType inTagName, Size inSize,
                     const void* inData) {
  if (inControl == nullptr) return paramErr;
  Tag tag;
  OSErr status = Lookup(inControl, inPart, inTagName, &tag);
  if (status != noErr) return status;
  if (inSize != SizeOf(tag)) return errDataSizeMismatch;
  if (inData == nullptr) return paramErr;
  switch (tag) {
    case Tag::Text:
    case Tag::Password: {
      if (tag == Tag::Text && inControl->kind == kSimControlPasswordEditText) return errDataNotSupported;
      CFStringRef string;
      std::memcpy(&string, inData, sizeof string);
      if (string == nullptr) return paramErr;
      standin::SetEditText(inControl, standin::Text(string));
      return noErr;
    }
    case Tag::Selection: {
      ControlEditTextSelectionRec selection;
      std::memcpy(&selection, inData, sizeof selection);
      const size_t length = inControl->text.size();
      size_t start = selection.selStart < 0 ? 0 : std::min<size_t>(static_cast<size_t>(selection.selStart), length);
      size_t end = selection.selEnd < 0 ? 0 : std::min<size_t>(static_cast<size_t>(selection.selEnd), length);
      inControl->selStart = std::min(start, end);
      inControl->selEnd = std::max(start, end);
      return noErr;
    }
    case Tag::KeyFilter:
      std::memcpy(&inControl->keyFilter, inData, sizeof inControl->keyFilter);
      return noErr;
    default:
      return errDataNotSupported;
  }
}

OSErr GetControlData(ControlRef inControl, ControlPartCode inPart, ResType inTagName,
                     Size inBufferSize, void* inBuffer, Size* outActualSize) {
  if (inControl == nullptr) return paramErr;
  Tag tag;
  OSErr status = Lookup(inControl, inPart, inTagName, &tag);
  if (status != noErr) return status;
  if (outActualSize != nullptr) *outActualSize = SizeOf(tag);
  if (inBuffer == nullptr) return outActualSize != nullptr ? noErr : paramErr;
  if (inBufferSize != SizeOf(tag)) return errDataSizeMismatch;
  switch (tag) {
    case Tag::Text:
    case Tag::Password: {
      std::u16string text = inControl->text;
      if (tag == Tag::Text && inControl->kind == kSimControlPasswordEditText) {
        text.assign(text.size(), u'\u2022');
      }
      CFStringRef copy = standin::NewString(std::move(text));
      std::memcpy(inBuffer, &copy, sizeof copy);
      return noErr;
    }
    case Tag::Selection: {
      ControlEditTextSelectionRec selection{ToSInt16(inControl->selStart), ToSInt16(inControl->selEnd)};
      std::memcpy(inBuffer, &selection, sizeof selection);
      return noErr;
    }
    case Tag::KeyFilter:
      std::memcpy(inBuffer, &inControl->keyFilter, sizeof inControl->keyFilter);
      return noErr;
    default:
      return errDataNotSupported;
  }
}

void SetControlReference(ControlRef theControl, SRefCon data) {
  if (theControl != nullptr) theControl->reference = data;
}

SRefCon GetControlReference(ControlRef theControl) {
  return theControl != nullptr ? theControl->reference : nullptr;
}

OSErr SetKeyboardFocus(WindowRef inWindow, ControlRef inControl, ControlPartCode inPart) {
  if (inWindow == nullptr) return paramErr;
  if (inControl == nullptr || inPart == kControlFocusNoPart) {
    inWindow->focus = nullptr;
    return noErr;
  }
  if (inControl->window != inWindow) return errUnknownControl;
  if (!standin::IsEditText(inControl)) return errControlDoesntSupportFocus;
  if (inPart < 0) return errInvalidPartCode;
  if (!inControl->enabled || !standin::IsEffectivelyVisible(inControl)) return errCouldntSetFocus;
  inWindow->focus = inControl;
  return noErr;
}

OSErr GetKeyboardFocus(WindowRef inWindow, ControlRef* outControl) {
  if (inWindow == nullptr || outControl == nullptr) return paramErr;
  *outControl = inWindow->focus;
  return noErr;
}

MenuRef GetControlPopupMenuHandle(ControlRef control) {
  return control != nullptr ? control->menu.get() : nullptr;
}

SimControlKind SimGetControlKind(ControlRef control) { return control->kind; }

ControlID SimGetControlID(ControlRef control) { return control->id; }

UInt32 SimGetControlCommand(ControlRef control) { return control->command; }

ControlRef SimGetParentControl(ControlRef control) { return control->parent; }

CFStringRef SimCopyControlText(ControlRef control) { return standin::NewString(control->text); }

ControlEditTextSelectionRec SimGetControlSelection(ControlRef control) {
  return {ToSInt16(control->selStart), ToSInt16(control->selEnd)};
}

UInt32 SimGetDrawCount(ControlRef control) { return control->drawCount; }
