// CJobLogPDE: the Job Log pane. The user picks one of seven job types and
// fills in a user ID, a password, a user code and a file name; the pane
// holds each field to its characters and length and tests the values by job
// type.
#ifndef JOBLOG_CJOBLOGPDE_H
#define JOBLOG_CJOBLOGPDE_H

#include "CEditText.h"
#include "CPDEPlugin.h"

// The identifier of the JobLogPDE bundle.
#define kJobLogPDEBundleIDString "com.zelvo.print.pde.JobLog38RPqez"

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
  ~CJobLogPDE() override;

 protected:
  // The ticket value of a job type item; a constant string, never NULL.
  // Any item outside 2 to 7 is Normal Print.
  CFStringRef GetJobTypeAsCFString(SInt16 menuItemNo);
  // The job type item of a ticket value; 1 for a text that names no job type.
  SInt16 GetJobTypeAsMenuItem(CFStringRef stringRef);
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
};

#endif
