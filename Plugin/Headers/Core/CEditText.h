// CEditText: one edit-text control of a pane, held to a character filter and
// a maximum number of characters while the user types or pastes, with its
// text read and written as a string. CPasswordEditText is the same for a
// password control, whose clear text lives under its own data tag.
#ifndef JOBLOG_CEDITTEXT_H
#define JOBLOG_CEDITTEXT_H

#include "JobLogPlatform.h"

// A character filter: 1 accepts the character code, 0 refuses it.
typedef SInt16 (*KeyFilterProcPtr)(SInt16 ch);

class CEditText {
 public:
  CEditText();
  // Removes what Attach installed on the control, which belongs to the print
  // dialog and may outlive the field.
  virtual ~CEditText();

  CEditText(const CEditText&) = delete;
  CEditText& operator=(const CEditText&) = delete;

  // The control's text; the caller releases it. NULL when unattached or the
  // text cannot be read.
  virtual CFStringRef CopyTextAsCFString();
  // Sets the control's text (the control keeps its own copy).
  virtual void SetText(CFStringRef stringRef);

  // Finds the control by ID in inWindow and installs the key filter and the
  // paste check on it. False when there is no such control.
  Boolean Attach(WindowRef inWindow, const ControlID& id);
  // Takes the key filter and the paste check off the control and forgets it.
  void Detach();
  // NULL accepts every character.
  void SetKeyFilter(KeyFilterProcPtr filterProcPtr);
  // -1: no limit.
  void SetMaxChars(SInt16 max);
  ControlRef GetControlRef() const;

  // Letters of the current locale and the digits 0 to 9.
  static SInt16 AlphaNumericFilter(SInt16 ch);
  // The digits 0 to 9.
  static SInt16 NumericFilter(SInt16 ch);

 protected:
  static ControlKeyFilterResult KeyFilterGlue(ControlRef theControl, SInt16* keyCode,
                                              SInt16* charCode, EventModifiers* modifiers);
  static OSStatus CommandHandler(EventHandlerCallRef inHandlerCallRef, EventRef inEvent,
                                 void* inUserData);

  // The text under tag, part 5 of the control; NULL when unattached or the
  // read fails.
  CFStringRef CopyTextWithTag(ResType tag);
  void SetTextWithTag(ResType tag, CFStringRef stringRef);

  ControlRef mControlRef;
  EventHandlerUPP mCommandHandlerUPP;
  ControlKeyFilterUPP mKeyFilterGlueUPP;
  KeyFilterProcPtr mKeyFilterProc;
  SInt16 mMaxChars;
  EventHandlerRef mCommandHandlerRef;  // the paste check installed by Attach
};

class CPasswordEditText : public CEditText {
 public:
  // The password's clear text.
  CFStringRef CopyTextAsCFString() override;
  void SetText(CFStringRef stringRef) override;
};

#endif
