// CPDEPlugin: the base class of a pane that the print dialog shows. The
// dialog-extension interface (PDEInterface) turns each call of the print
// dialog into one of the virtual operations below; a pane overrides those it
// needs. The base offers the pane its bundle, localized strings from it, the
// move of a nib window's controls into the dialog's pane, and the lookup of a
// ticket in the print session.
#ifndef JOBLOG_CPDEPLUGIN_H
#define JOBLOG_CPDEPLUGIN_H

#include "JobLogPlatform.h"

class CPDEPlugin {
 public:
  // Finds the bundle by identifier; it is borrowed, never released.
  explicit CPDEPlugin(CFStringRef pluginBundleID);
  virtual ~CPDEPlugin();

  CPDEPlugin(const CPDEPlugin&) = delete;
  CPDEPlugin& operator=(const CPDEPlugin&) = delete;

  // The operations of the print dialog, in this order. Each default does
  // nothing and returns 0.
  virtual OSStatus CreateUI(PMPDEFlags* flags, PMPDERef ref, ControlRef parentUserPane,
                            PMPrintSession printSession);
  virtual OSStatus OnOpenUI();
  virtual OSStatus OnCloseUI();
  // The arrays belong to the caller; what the pane appends they retain.
  virtual OSStatus GetSummaryText(CFMutableArrayRef titleArray, CFMutableArrayRef summaryArray);
  virtual OSStatus TicketToUI(PMPrintSession session);
  virtual OSStatus UIToTicket(PMPrintSession session);

  // Borrowed; NULL when no loaded bundle has the identifier.
  CFBundleRef GetMainBundle() const;
  // The value of key in the bundle's strings table, or key itself when the
  // table has none; the caller releases it. NULL without a bundle. comment
  // is the note for translators and has no effect here.
  CFStringRef CopyLocalizedString(CFStringRef key, CFStringRef comment);

 protected:
  // Moves the controls of nibWindow into userPane, keeping their layout, the
  // block centred on each axis on which the pane is the larger and aligned
  // with its top or left edge otherwise. The window stays the caller's.
  // False only when the window has no root control.
  Boolean EmbedControlsFromNib(WindowRef nibWindow, ControlRef userPane);
  // The ticket reference held in the session's data entry named ticket,
  // stored through container (a PMTicketRef*); it is borrowed. -30891 when
  // the entry is missing or holds no ticket reference.
  OSStatus GetTicketFromSession(PMPrintSession printSession, CFStringRef ticket, void* container);

 private:
  CFBundleRef mMainBundleRef;
};

#endif
