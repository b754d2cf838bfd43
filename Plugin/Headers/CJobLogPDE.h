// CJobLogPDE: the Job Log pane. The user picks one of seven job types and
// fills in a user ID, a password, a user code and a file name; the pane holds
// each field to its characters and length, enables the fields the job type
// uses, tests the values when the print dialog commits, writes them into the
// print-settings ticket and lists them in the dialog's summary.
//
// JobLogPluginFactory is the bundle's one exported symbol: the printing
// system finds it through the CFPlugIn registration in the bundle's
// Info.plist and calls it for an instance; JobLogPrologue makes the pane.
#ifndef JOBLOG_CJOBLOGPDE_H
#define JOBLOG_CJOBLOGPDE_H

#include "CEditText.h"
#include "CPDEPlugin.h"
#include "PDEInterface.h"

// The identifier of the JobLogPDE bundle.
#define kJobLogPDEBundleIDString "com.zelvo.print.pde.JobLog38RPqez"
// The factory UUID under which the bundle's Info.plist registers
// JobLogPluginFactory for the dialog extension plug-in type (the build takes
// it from here).
#define kJobLogPDEFactoryIDString "1BBDFF59-0D1C-47D8-AE61-3985943E5EB1"

#if defined(__GNUC__)
#define JOBLOG_EXPORT __attribute__((visibility("default")))
#else
#define JOBLOG_EXPORT
#endif

extern "C" JOBLOG_EXPORT void* JobLogPluginFactory(CFAllocatorRef allocator, CFUUIDRef reqTypeID);

// Makes the pane: its address goes back through context; title passes to
// the caller, who releases it. -9530 when no pane can be had.
OSStatus JobLogPrologue(PMPDEContext* context, OSType* creator, CFStringRef* userOptionKind,
                        CFStringRef* title, UInt32* maxH, UInt32* maxV);

// Job types, numbered as the items of the job type popup.
enum {
  kJobTypeNormalPrint = 1,
  kJobTypeSamplePrint = 2,
  kJobTypeLockedPrint = 3,
  kJobTypePausedPrint = 4,
  kJobTypeSavedPrint = 5,
  kJobTypeSaveDocumentPrint = 6,
  kJobTypeDocumentServer = 7
};

class CJobLogPDE : public CPDEPlugin {
 public:
  CJobLogPDE();
  // Takes the pane's command handler off the user pane, which belongs to
  // the print dialog and may outlive the pane.
  ~CJobLogPDE() override;

  // Builds the controls for the printer model of the session; -9530 for a
  // model the bundle's model data does not list.
  OSStatus CreateUI(PMPDEFlags* flags, PMPDERef ref, ControlRef parentUserPane,
                    PMPrintSession printSession) override;
  OSStatus OnOpenUI() override;
  OSStatus OnCloseUI() override;
  OSStatus GetSummaryText(CFMutableArrayRef titleArray, CFMutableArrayRef summaryArray) override;
  // Fills the controls from the print-settings ticket.
  OSStatus TicketToUI(PMPrintSession session) override;
  // Tests the values and, only if all pass, writes them into the
  // print-settings ticket; -9531 (and an alert per failed test) otherwise.
  OSStatus UIToTicket(PMPrintSession session) override;

 protected:
  // The ticket value of a job type item; a constant string, never NULL.
  // Any item outside 2 to 7 is Normal Print.
  CFStringRef GetJobTypeAsCFString(SInt16 menuItemNo);
  // The job type item of a ticket value; 1 for a text that names no job type.
  SInt16 GetJobTypeAsMenuItem(CFStringRef stringRef);
  // Enables the fields and labels that the job type and the user code
  // checkbox call for.
  void UpdateUIState();
  // Every command that reaches the user pane: the enabled fields follow the
  // popup and the checkbox. The event goes on.
  static OSStatus CommandHandler(EventHandlerCallRef inHandlerCallRef, EventRef inEvent,
                                 void* inUserData);
  // Whether the code has minChars to maxChars characters (-1: no bound; an
  // upper bound never admits more than 255) and every character passes the
  // filter (NULL: no test). A NULL string is never valid.
  Boolean IsValidCode(CFStringRef codeStringRef, CFIndex minChars, CFIndex maxChars,
                      KeyFilterProcPtr filterProcPtr);
  // The password's length bounds for this printer model.
  void GetMinMaxPasswordLen(SInt16* minChars, SInt16* maxChars);

  CEditText mUserIDEditText;
  CEditText mUserCodeEditText;
  CPasswordEditText mPasswordEditText;
  CEditText mFileNameEditText;
  ControlRef mEnableUserCodeCtrl;
  ControlRef mJobTypeCtrl;
  ControlRef mPasswordLabelCtrl;
  ControlRef mUserCodeLabelCtrl;
  ControlRef mPasswordNoteCtrl;
  ControlRef mFileNameLabelCtrl;
  MenuRef mJobTypeMenuCtrl;
  Boolean mHasDocumentServer;
  Boolean mLongPasswordSupport;
  EventHandlerUPP mCommandHandlerUPP;
  EventHandlerRef mCommandHandlerRef;  // installed on the user pane by CreateUI

 private:
  // Drops every control that is still in the nib window, which is about to
  // be disposed with the controls in it.
  void ForgetControlsLeftIn(WindowRef nibWindow);
  // The caution alert of a failed test, with its beep.
  void ShowAlert(CFStringRef messageKey, CFStringRef comment, const AlertStdCFStringAlertParamRec& param);
  // The localized summary value of a job type item; the caller releases it.
  CFStringRef CopyJobTypeSummary(SInt16 menuItemNo);
  // Appends the localized title and value; takes over value (which may be
  // NULL: an empty value keeps the two arrays in step). Nothing is appended
  // when the title cannot be had.
  void AppendSummaryPair(CFMutableArrayRef titleArray, CFMutableArrayRef summaryArray,
                         CFStringRef titleKey, CFStringRef comment, CFStringRef value);
};

#endif
