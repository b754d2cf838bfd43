// CEditText and CPasswordEditText: the character filters, the key filter
// that holds typing to a field's characters and length, the paste check
// that does the same for pasted text, and the field's text.
#include "CEditText.h"

#include <ctype.h>
#include <wctype.h>

namespace {

// Only 0 to 9, whatever the locale calls a digit.
bool IsDigit(SInt16 ch) { return ch >= '0' && ch <= '9'; }

// The current locale's letters; codes above 255 are code points.
bool IsAlphabetic(SInt16 ch) {
  if (ch < 0) return false;
  if (ch <= 255) return isalpha(ch) != 0;
  return iswalpha(static_cast<wint_t>(ch)) != 0;
}

// Editing and navigation keys. A UTF-16 unit above 0x7FFF arrives negative
// and is classified as the unit it is.
bool IsControlCharacter(SInt16 ch) {
  if (ch >= 0 && ch <= 255) return iscntrl(ch) != 0;
  return iswcntrl(static_cast<wint_t>(static_cast<UInt16>(ch))) != 0;
}

}  // namespace

CEditText::CEditText()
    : mControlRef(NULL),
      mCommandHandlerUPP(NewEventHandlerUPP(CommandHandler)),
      mKeyFilterGlueUPP(NewControlKeyFilterUPP(KeyFilterGlue)),
      mKeyFilterProc(NULL),
      mMaxChars(-1),
      mCommandHandlerRef(NULL) {}

CEditText::~CEditText() {
  // Later keys and commands to the control must not reach this object.
  Detach();
  if (mKeyFilterGlueUPP != NULL) DisposeControlKeyFilterUPP(mKeyFilterGlueUPP);
  if (mCommandHandlerUPP != NULL) DisposeEventHandlerUPP(mCommandHandlerUPP);
}

Boolean CEditText::Attach(WindowRef inWindow, const ControlID& id) {
  if (mCommandHandlerUPP == NULL || mKeyFilterGlueUPP == NULL) return false;
  ControlRef control = NULL;
  if (GetControlByID(inWindow, &id, &control) != noErr || control == NULL) return false;
  Detach();
  mControlRef = control;

  const EventTypeSpec commandProcess = {kEventClassCommand, kEventCommandProcess};
  if (InstallEventHandler(GetControlEventTarget(control), mCommandHandlerUPP, 1, &commandProcess,
                          this, &mCommandHandlerRef) != noErr) {
    mCommandHandlerRef = NULL;
  }
  SetControlData(control, kControlEntireControl, kControlEditTextKeyFilterTag,
                 sizeof(mKeyFilterGlueUPP), &mKeyFilterGlueUPP);
  SetControlReference(control, this);
  return true;
}

void CEditText::Detach() {
  if (mCommandHandlerRef != NULL) {
    RemoveEventHandler(mCommandHandlerRef);
    mCommandHandlerRef = NULL;
  }
  if (mControlRef != NULL) {
    // The key filter stays on the control and finds no field: it passes keys.
    if (GetControlReference(mControlRef) == this) SetControlReference(mControlRef, NULL);
    mControlRef = NULL;
  }
}

void CEditText::SetKeyFilter(KeyFilterProcPtr filterProcPtr) { mKeyFilterProc = filterProcPtr; }

void CEditText::SetMaxChars(SInt16 max) { mMaxChars = max; }

ControlRef CEditText::GetControlRef() const { return mControlRef; }

CFStringRef CEditText::CopyTextAsCFString() { return CopyTextWithTag(kControlEditTextCFStringTag); }

void CEditText::SetText(CFStringRef stringRef) { SetTextWithTag(kControlEditTextCFStringTag, stringRef); }

CFStringRef CEditText::CopyTextWithTag(ResType tag) {
  if (mControlRef == NULL) return NULL;
  CFStringRef text = NULL;
  if (GetControlData(mControlRef, kControlEditTextPart, tag, sizeof(text), &text, NULL) != noErr) {
    return NULL;
  }
  return text;
}

void CEditText::SetTextWithTag(ResType tag, CFStringRef stringRef) {
  if (mControlRef == NULL || stringRef == NULL) return;
  SetControlData(mControlRef, kControlEditTextPart, tag, sizeof(stringRef), &stringRef);
}

SInt16 CEditText::AlphaNumericFilter(SInt16 ch) {
  return IsAlphabetic(ch) || IsDigit(ch) ? 1 : 0;
}

SInt16 CEditText::NumericFilter(SInt16 ch) { return IsDigit(ch) ? 1 : 0; }

ControlKeyFilterResult CEditText::KeyFilterGlue(ControlRef theControl, SInt16* /*keyCode*/,
                                                SInt16* charCode, EventModifiers* modifiers) {
  // Command keys (copy, paste, select all) and editing keys always pass.
  if (modifiers != NULL && (*modifiers & cmdKey) != 0) return kControlKeyFilterPassKey;
  if (charCode == NULL || IsControlCharacter(*charCode)) return kControlKeyFilterPassKey;

  CEditText* field = static_cast<CEditText*>(GetControlReference(theControl));
  if (field == NULL) return kControlKeyFilterPassKey;

  // A full field takes no character, even over a selection.
  if (field->mMaxChars != -1) {
    CFStringRef text = field->CopyTextAsCFString();
    if (text != NULL) {
      const CFIndex length = CFStringGetLength(text);
      CFRelease(text);
      if (length >= field->mMaxChars) return kControlKeyFilterBlockKey;
    }
  }
  if (field->mKeyFilterProc != NULL) {
    return field->mKeyFilterProc(*charCode) == 1 ? kControlKeyFilterPassKey : kControlKeyFilterBlockKey;
  }
  return kControlKeyFilterPassKey;
}

OSStatus CEditText::CommandHandler(EventHandlerCallRef inHandlerCallRef, EventRef inEvent,
                                   void* inUserData) {
  HICommand command;
  OSStatus status = GetEventParameter(inEvent, kEventParamDirectObject, typeHICommand, NULL,
                                      sizeof(command), NULL, &command);
  if (status != noErr) return status;

  CEditText* field = static_cast<CEditText*>(inUserData);
  Boolean valid = true;
  ScrapRef scrap = NULL;
  Size pasteSize = 0;
  if (command.commandID == kHICommandPaste && GetCurrentScrap(&scrap) == noErr &&
      GetScrapFlavorSize(scrap, kScrapFlavorTypeText, &pasteSize) == noErr) {
    // What the field would hold: its text, less the selection, plus the paste.
    if (field->mMaxChars != -1) {
      CFStringRef text = field->CopyTextAsCFString();
      if (text != NULL) {
        ControlEditTextSelectionRec selection = {0, 0};
        if (GetControlData(field->mControlRef, kControlEditTextPart, kControlEditTextSelectionTag,
                           sizeof(selection), &selection, NULL) == noErr &&
            CFStringGetLength(text) + pasteSize - (selection.selEnd - selection.selStart) >
                field->mMaxChars) {
          valid = false;
        }
        CFRelease(text);
      }
    }
    // Every pasted byte must pass the filter; bytes above 0x7F arrive
    // negative and pass neither filter.
    if (field->mKeyFilterProc != NULL) {
      Ptr buffer = NewPtr(pasteSize);
      if (buffer != NULL) {
        Size size = pasteSize;
        if (GetScrapFlavorData(scrap, kScrapFlavorTypeText, &size, buffer) == noErr && valid) {
          for (Size i = 0; i < size; ++i) {
            if (field->mKeyFilterProc(static_cast<SInt8>(buffer[i])) != 1) {
              valid = false;
              break;
            }
          }
        }
        DisposePtr(buffer);
      }
    }
  }

  if (valid) return CallNextEventHandler(inHandlerCallRef, inEvent);
  SysBeep(1);
  return noErr;  // handled: nothing is pasted
}

CFStringRef CPasswordEditText::CopyTextAsCFString() {
  return CopyTextWithTag(kControlEditTextPasswordCFStringTag);
}

void CPasswordEditText::SetText(CFStringRef stringRef) {
  SetTextWithTag(kControlEditTextPasswordCFStringTag, stringRef);
}
