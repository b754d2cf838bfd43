// CJobLogPDE: the Job Log pane: its entry functions, its controls built from
// the nib "JobLog", the enabled state that follows the job type, the
// exchange with the print-settings ticket, the summary, and the job rules.
#include "CJobLogPDE.h"

#include <stdio.h>
#include <stdlib.h>
#include <time.h>

#include <new>

#include "CPluginData.h"

namespace {

// Results given to the print dialog.
const OSStatus kInvalidPDEContext = -9530;  // no pane for this printer
const OSStatus kDontSwitchPane = -9531;     // a test failed: the user stays in the pane

// What the prologue tells the print dialog.
#define kJobLogPDEKindIDString "com.zelvo.print.pde.JobLogKind38RPqez"
const UInt32 kMaxH = 150;
const UInt32 kMaxV = 270;

// The nib and its controls, signature 'jlog'.
const OSType kJobLogSignature = 0x6A6C6F67;  // 'jlog'
enum {
  kUserIDEditTextID = 1,
  kJobTypePopupID = 2,
  kPasswordEditTextID = 3,
  kEnableUserCodeCheckBoxID = 4,
  kUserCodeEditTextID = 5,
  kFileNameEditTextID = 10,
  kPasswordLabelID = 103,
  kUserCodeLabelID = 105,
  kFileNameLabelID = 110,
  kPasswordNoteID = 203
};

// Field lengths; the password's come from GetMinMaxPasswordLen.
const SInt16 kUserIDMaxChars = 8;
const SInt16 kUserCodeMaxChars = 8;
const SInt16 kFileNameMaxChars = 16;
const SInt16 kPasswordMinChars = 4;
const SInt16 kShortPasswordMaxChars = 4;
const SInt16 kLongPasswordMaxChars = 8;

// Print settings written with this creator; printer information read.
#define kCreator CFSTR("com.zelvo.printingmanager")
#define kUserIDKey CFSTR("com.zelvo.pm.UserID")
#define kPasswordKey CFSTR("com.zelvo.pm.Password")
#define kEnableUserCodeKey CFSTR("com.zelvo.pm.EnableUserCode")
#define kUserCodeKey CFSTR("com.zelvo.pm.UserCode")
#define kFileNameKey CFSTR("com.zelvo.pm.FileName")
#define kJobTypeKey CFSTR("com.zelvo.pm.JobType")
#define kTimeZoneKey CFSTR("com.zelvo.pm.TimeZone")
#define kMakeAndModelKey CFSTR("com.apple.print.PrinterInfo.PMMakeAndModelName")

ControlID JobLogControlID(SInt32 id) {
  ControlID controlID = {kJobLogSignature, id};
  return controlID;
}

ControlRef FindControl(WindowRef window, SInt32 id) {
  const ControlID controlID = JobLogControlID(id);
  ControlRef control = NULL;
  if (GetControlByID(window, &controlID, &control) != noErr) return NULL;
  return control;
}

void SetEnabled(ControlRef control, Boolean enabled) {
  if (enabled) EnableControl(control);
  else DisableControl(control);
}

Boolean IsEmpty(CFStringRef text) { return text == NULL || CFStringGetLength(text) == 0; }

// The job types whose fields and tests differ.
Boolean UsesPassword(SInt16 jobType) {
  return jobType == kJobTypeLockedPrint || jobType == kJobTypeSavedPrint ||
         jobType == kJobTypeSaveDocumentPrint || jobType == kJobTypeDocumentServer;
}
Boolean UsesFileName(SInt16 jobType) {
  return jobType == kJobTypePausedPrint || jobType == kJobTypeSavedPrint ||
         jobType == kJobTypeSaveDocumentPrint || jobType == kJobTypeDocumentServer;
}
Boolean TestsPasswordWhenGiven(SInt16 jobType) {
  return jobType >= kJobTypePausedPrint && jobType <= kJobTypeDocumentServer;
}
Boolean NeedsUserID(SInt16 jobType) {
  return jobType >= kJobTypeSamplePrint && jobType <= kJobTypeSaveDocumentPrint;
}

Boolean ModelCapability(CFDictionaryRef modelInfo, CFStringRef key) {
  CFTypeRef value = CFDictionaryGetValue(modelInfo, key);
  if (value == NULL || CFGetTypeID(value) != CFBooleanGetTypeID()) return false;
  return CFBooleanGetValue(static_cast<CFBooleanRef>(value));
}

// A zone name that POSIX takes as it is: three or more letters.
Boolean IsPlainZoneName(const char* name) {
  size_t length = 0;
  for (; name[length] != '\0'; ++length) {
    const char c = name[length];
    if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))) return false;
  }
  return length >= 3;
}

// A zone name that POSIX takes between < and >: three or more letters,
// digits, '+' and '-'.
Boolean IsQuotableZoneName(const char* name) {
  size_t length = 0;
  for (; name[length] != '\0'; ++length) {
    const char c = name[length];
    if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '+' ||
          c == '-')) {
      return false;
    }
  }
  return length >= 3;
}

// The client's time zone now, as a POSIX TZ value with no daylight rule:
// the zone name, then the offset west of UTC in hours, with the minutes (and
// seconds) when it has them: "JST-9", "PST8", "IST-5:30", "NST3:30",
// "<-03>3". NULL when the local time cannot be had.
CFStringRef CreateClientTimeZoneString() {
  const time_t now = time(NULL);
  const struct tm* loctime = localtime(&now);
  if (loctime == NULL) return NULL;

  const long west = -static_cast<long>(loctime->tm_gmtoff);
  const long magnitude = labs(west);
  const long hours = magnitude / 3600;  // the quotient, truncated toward zero
  const long minutes = magnitude % 3600 / 60;
  const long seconds = magnitude % 60;
  const char* sign = west < 0 ? "-" : "";
  char offset[32];
  if (seconds != 0) snprintf(offset, sizeof offset, "%s%ld:%02ld:%02ld", sign, hours, minutes, seconds);
  else if (minutes != 0) snprintf(offset, sizeof offset, "%s%ld:%02ld", sign, hours, minutes);
  else snprintf(offset, sizeof offset, "%s%ld", sign, hours);

  const char* zone = loctime->tm_zone != NULL ? loctime->tm_zone : "";
  if (IsPlainZoneName(zone)) {
    return CFStringCreateWithFormat(kCFAllocatorDefault, NULL, CFSTR("%s%s"), zone, offset);
  }
  if (IsQuotableZoneName(zone)) {
    return CFStringCreateWithFormat(kCFAllocatorDefault, NULL, CFSTR("<%s>%s"), zone, offset);
  }
  // No usable name: one made of the offset east of UTC, as "<+0530>".
  return CFStringCreateWithFormat(kCFAllocatorDefault, NULL, CFSTR("<%c%02ld%02ld>%s"),
                                  west > 0 ? '-' : '+', hours, minutes, offset);
}

}  // namespace

// ---- Entry functions ----

void* JobLogPluginFactory(CFAllocatorRef allocator, CFUUIDRef reqTypeID) {
  return PluginFactory(allocator, reqTypeID, CFSTR(kJobLogPDEFactoryIDString), JobLogPrologue);
}

OSStatus JobLogPrologue(PMPDEContext* context, OSType* creator, CFStringRef* userOptionKind,
                        CFStringRef* title, UInt32* maxH, UInt32* maxV) {
  if (context == NULL || creator == NULL || userOptionKind == NULL || title == NULL || maxH == NULL ||
      maxV == NULL) {
    return kInvalidPDEContext;
  }
  CJobLogPDE* pane = new (std::nothrow) CJobLogPDE();
  if (pane == NULL) return kInvalidPDEContext;

  *creator = 0;
  *userOptionKind = CFSTR(kJobLogPDEKindIDString);
  *maxH = kMaxH;
  *maxV = kMaxV;

  CFStringRef titleRef = pane->CopyLocalizedString(CFSTR("Job Log"), CFSTR("The text of the popup menu"));
  if (titleRef == NULL) {
    delete pane;
    return kInvalidPDEContext;
  }
  *title = titleRef;  // the caller's now
  *context = reinterpret_cast<PMPDEContext>(static_cast<CPDEPlugin*>(pane));
  return noErr;
}

// ---- Construction ----

CJobLogPDE::CJobLogPDE()
    : CPDEPlugin(CFSTR(kJobLogPDEBundleIDString)),
      mEnableUserCodeCtrl(NULL),
      mJobTypeCtrl(NULL),
      mPasswordLabelCtrl(NULL),
      mUserCodeLabelCtrl(NULL),
      mPasswordNoteCtrl(NULL),
      mFileNameLabelCtrl(NULL),
      mJobTypeMenuCtrl(NULL),
      mHasDocumentServer(false),
      mLongPasswordSupport(false),
      mCommandHandlerUPP(NewEventHandlerUPP(CommandHandler)),
      mCommandHandlerRef(NULL) {}

CJobLogPDE::~CJobLogPDE() {
  // The print dialog keeps the user pane; its commands must not reach us.
  if (mCommandHandlerRef != NULL) RemoveEventHandler(mCommandHandlerRef);
  if (mCommandHandlerUPP != NULL) DisposeEventHandlerUPP(mCommandHandlerUPP);
}

OSStatus CJobLogPDE::CreateUI(PMPDEFlags* /*flags*/, PMPDERef /*ref*/, ControlRef parentUserPane,
                              PMPrintSession printSession) {
  CPluginData pluginData(GetMainBundle());

  PMTicketRef printerInfo = NULL;
  if (GetTicketFromSession(printSession, CFSTR("PMPrinterInfoTicket"), &printerInfo) != noErr) {
    return kInvalidPDEContext;
  }
  CFStringRef modelNameRef = NULL;  // borrowed from the ticket
  if (PMTicketGetCFString(printerInfo, 0, 0, kMakeAndModelKey, &modelNameRef) != noErr) {
    return kInvalidPDEContext;
  }
  CFDictionaryRef modelInfoRef = pluginData.GetModelInfo(modelNameRef);
  if (modelInfoRef == NULL) return kInvalidPDEContext;  // not a printer of ours
  mHasDocumentServer = ModelCapability(modelInfoRef, CFSTR("HasDocumentServer"));
  mLongPasswordSupport = ModelCapability(modelInfoRef, CFSTR("LongPasswordSupport"));

  IBNibRef nibRef = NULL;
  if (CreateNibReferenceWithCFBundle(GetMainBundle(), CFSTR("JobLog"), &nibRef) != noErr) return noErr;
  WindowRef nibWindow = NULL;
  if (CreateWindowFromNib(nibRef, mHasDocumentServer ? CFSTR("Window-MFP") : CFSTR("Window"),
                          &nibWindow) != noErr) {
    DisposeNibReference(nibRef);
    return noErr;
  }

  mFileNameEditText.Attach(nibWindow, JobLogControlID(kFileNameEditTextID));
  mFileNameEditText.SetKeyFilter(CEditText::AlphaNumericFilter);
  mFileNameEditText.SetMaxChars(kFileNameMaxChars);
  mFileNameLabelCtrl = FindControl(nibWindow, kFileNameLabelID);

  mUserIDEditText.Attach(nibWindow, JobLogControlID(kUserIDEditTextID));
  mUserIDEditText.SetKeyFilter(CEditText::AlphaNumericFilter);
  mUserIDEditText.SetMaxChars(kUserIDMaxChars);

  mJobTypeCtrl = FindControl(nibWindow, kJobTypePopupID);
  mJobTypeMenuCtrl = GetControlPopupMenuHandle(mJobTypeCtrl);

  SInt16 maxPasswordLen = kShortPasswordMaxChars;
  mPasswordEditText.Attach(nibWindow, JobLogControlID(kPasswordEditTextID));
  mPasswordEditText.SetKeyFilter(CEditText::NumericFilter);
  GetMinMaxPasswordLen(NULL, &maxPasswordLen);
  mPasswordEditText.SetMaxChars(maxPasswordLen);
  mPasswordLabelCtrl = FindControl(nibWindow, kPasswordLabelID);
  mPasswordNoteCtrl = FindControl(nibWindow, kPasswordNoteID);
  if (mLongPasswordSupport && mPasswordNoteCtrl != NULL) {
    CFStringRef stringRef = CopyLocalizedString(CFSTR("4-8 digits"), CFSTR("A note for the password."));
    if (stringRef != NULL) {
      SetControlData(mPasswordNoteCtrl, kControlEntireControl, kControlStaticTextCFStringTag,
                     sizeof(stringRef), &stringRef);
      CFRelease(stringRef);
    }
  }

  mEnableUserCodeCtrl = FindControl(nibWindow, kEnableUserCodeCheckBoxID);
  mUserCodeEditText.Attach(nibWindow, JobLogControlID(kUserCodeEditTextID));
  mUserCodeEditText.SetKeyFilter(CEditText::NumericFilter);
  mUserCodeEditText.SetMaxChars(kUserCodeMaxChars);
  mUserCodeLabelCtrl = FindControl(nibWindow, kUserCodeLabelID);

  EmbedControlsFromNib(nibWindow, parentUserPane);
  ForgetControlsLeftIn(nibWindow);

  if (mCommandHandlerRef != NULL) {  // built once more: one handler is enough
    RemoveEventHandler(mCommandHandlerRef);
    mCommandHandlerRef = NULL;
  }
  const EventTypeSpec eventSpec = {kEventClassCommand, kEventCommandProcess};
  if (InstallEventHandler(GetControlEventTarget(parentUserPane), mCommandHandlerUPP, 1, &eventSpec, this,
                          &mCommandHandlerRef) != noErr) {
    mCommandHandlerRef = NULL;
  }

  DisposeWindow(nibWindow);
  DisposeNibReference(nibRef);

  TicketToUI(printSession);
  return noErr;
}

void CJobLogPDE::ForgetControlsLeftIn(WindowRef nibWindow) {
  CEditText* const fields[] = {&mUserIDEditText, &mUserCodeEditText, &mPasswordEditText, &mFileNameEditText};
  for (CEditText* field : fields) {
    if (field->GetControlRef() != NULL && GetControlOwner(field->GetControlRef()) == nibWindow) field->Detach();
  }
  ControlRef* const controls[] = {&mEnableUserCodeCtrl, &mJobTypeCtrl,     &mPasswordLabelCtrl,
                                  &mUserCodeLabelCtrl,  &mPasswordNoteCtrl, &mFileNameLabelCtrl};
  for (ControlRef* control : controls) {
    if (*control != NULL && GetControlOwner(*control) == nibWindow) *control = NULL;
  }
  if (mJobTypeCtrl == NULL) mJobTypeMenuCtrl = NULL;
}

// ---- Showing the pane ----

OSStatus CJobLogPDE::OnOpenUI() {
  UpdateUIState();
  ControlRef controlRef = mUserIDEditText.GetControlRef();
  if (controlRef != NULL) SetKeyboardFocus(GetControlOwner(controlRef), controlRef, kControlEditTextPart);
  return noErr;
}

OSStatus CJobLogPDE::OnCloseUI() { return noErr; }

void CJobLogPDE::UpdateUIState() {
  const SInt16 jobType = GetControlValue(mJobTypeCtrl);

  const Boolean password = UsesPassword(jobType);
  SetEnabled(mPasswordEditText.GetControlRef(), password);
  SetEnabled(mPasswordLabelCtrl, password);

  const Boolean fileName = UsesFileName(jobType);
  SetEnabled(mFileNameEditText.GetControlRef(), fileName);
  SetEnabled(mFileNameLabelCtrl, fileName);

  const Boolean userCode = GetControlValue(mEnableUserCodeCtrl) != 0;
  SetEnabled(mUserCodeEditText.GetControlRef(), userCode);
  SetEnabled(mUserCodeLabelCtrl, userCode);

  Draw1Control(mUserIDEditText.GetControlRef());
  SetItemMark(mJobTypeMenuCtrl, 1, 0);
}

OSStatus CJobLogPDE::CommandHandler(EventHandlerCallRef inHandlerCallRef, EventRef inEvent,
                                    void* inUserData) {
  static_cast<CJobLogPDE*>(inUserData)->UpdateUIState();
  return CallNextEventHandler(inHandlerCallRef, inEvent);
}

// ---- The print-settings ticket ----

OSStatus CJobLogPDE::TicketToUI(PMPrintSession session) {
  PMTicketRef settingsRef = NULL;
  const OSStatus err = GetTicketFromSession(session, CFSTR("PMPrintSettingsTicket"), &settingsRef);
  if (err != noErr) return err;

  // A stored value that breaks its rule empties the field; a missing one
  // leaves the field as it is. Ticket strings are borrowed.
  CFStringRef value = NULL;
  if (PMTicketGetCFString(settingsRef, 0, 0, kUserIDKey, &value) == noErr) {
    mUserIDEditText.SetText(IsValidCode(value, -1, kUserIDMaxChars, CEditText::AlphaNumericFilter) ? value
                                                                                                  : CFSTR(""));
  }
  if (PMTicketGetCFString(settingsRef, 0, 0, kPasswordKey, &value) == noErr) {
    SInt16 minPasswordLen = 0, maxPasswordLen = 0;
    GetMinMaxPasswordLen(&minPasswordLen, &maxPasswordLen);
    mPasswordEditText.SetText(IsValidCode(value, minPasswordLen, maxPasswordLen, CEditText::NumericFilter)
                                  ? value
                                  : CFSTR(""));
  }
  Boolean enableUserCode = false;
  if (PMTicketGetBoolean(settingsRef, 0, 0, kEnableUserCodeKey, &enableUserCode) == noErr) {
    SetControlValue(mEnableUserCodeCtrl, enableUserCode ? 1 : 0);
  }
  if (PMTicketGetCFString(settingsRef, 0, 0, kUserCodeKey, &value) == noErr) {
    mUserCodeEditText.SetText(IsValidCode(value, -1, kUserCodeMaxChars, CEditText::NumericFilter) ? value
                                                                                                  : CFSTR(""));
  }
  if (PMTicketGetCFString(settingsRef, 0, 0, kFileNameKey, &value) == noErr) {
    mFileNameEditText.SetText(
        IsValidCode(value, -1, kFileNameMaxChars, CEditText::AlphaNumericFilter) ? value : CFSTR(""));
  }
  if (PMTicketGetCFString(settingsRef, 0, 0, kJobTypeKey, &value) == noErr) {
    SInt16 item = GetJobTypeAsMenuItem(value);
    // A job type this printer's menu does not offer (Document Server without
    // a document server) is Normal Print, not whatever item is last.
    if (item > GetControlMaximum(mJobTypeCtrl)) item = kJobTypeNormalPrint;
    SetControlValue(mJobTypeCtrl, item);
  }

  UpdateUIState();
  return noErr;
}

void CJobLogPDE::ShowAlert(CFStringRef messageKey, CFStringRef comment,
                           const AlertStdCFStringAlertParamRec& param) {
  CFStringRef message = CopyLocalizedString(messageKey, comment);
  DialogRef alert = NULL;
  if (message != NULL && CreateStandardAlert(kAlertCautionAlert, message, NULL, &param, &alert) != noErr) {
    alert = NULL;
  }
  SysBeep(1);
  if (alert != NULL) RunStandardAlert(alert, NULL, NULL);
  if (message != NULL) CFRelease(message);
}

OSStatus CJobLogPDE::UIToTicket(PMPrintSession session) {
  PMTicketRef settingsRef = NULL;
  OSStatus err = GetTicketFromSession(session, CFSTR("PMPrintSettingsTicket"), &settingsRef);
  if (err != noErr) return err;

  Boolean valid = true;
  const SInt16 jobType = GetControlValue(mJobTypeCtrl);
  AlertStdCFStringAlertParamRec alertParam;
  GetStandardAlertDefaultParams(&alertParam, kStdCFStringAlertVersionOne);
  alertParam.movable = true;
  alertParam.position = kWindowAlertPositionParentWindow;

  CFStringRef userIDRef = mUserIDEditText.CopyTextAsCFString();
  if (NeedsUserID(jobType)) {
    valid = !IsEmpty(userIDRef);
  } else {
    valid = IsValidCode(userIDRef, 0, kUserIDMaxChars, CEditText::AlphaNumericFilter);
  }
  if (!valid) {
    ShowAlert(CFSTR("Enter a valid User ID"), CFSTR("Alert-Displayed when user ID is invalid."), alertParam);
    err = kDontSwitchPane;
  }

  CFStringRef passwordRef = NULL;
  if (valid) {
    passwordRef = mPasswordEditText.CopyTextAsCFString();
    const Boolean tested = jobType == kJobTypeLockedPrint || (TestsPasswordWhenGiven(jobType) && !IsEmpty(passwordRef));
    SInt16 minPasswordLen = 0, maxPasswordLen = 0;
    GetMinMaxPasswordLen(&minPasswordLen, &maxPasswordLen);
    if (tested && !IsValidCode(passwordRef, minPasswordLen, maxPasswordLen, CEditText::NumericFilter)) {
      ShowAlert(CFSTR("Enter a valid Password"), CFSTR("Alert-Displayed when password is invalid."), alertParam);
      err = kDontSwitchPane;
      valid = false;
    }
  }

  // The user code is tested whatever failed before.
  const Boolean enableUserCode = (GetControlValue(mEnableUserCodeCtrl) & 0xFF) != 0;
  CFStringRef userCodeRef = mUserCodeEditText.CopyTextAsCFString();
  if (enableUserCode && !IsValidCode(userCodeRef, 0, kUserCodeMaxChars, CEditText::NumericFilter)) {
    ShowAlert(CFSTR("Enter a valid User Code"), CFSTR("Alert-Displayed when user code is invalid."), alertParam);
    err = kDontSwitchPane;
    valid = false;
  }

  CFStringRef fileNameRef = NULL;
  if (valid) {
    fileNameRef = mFileNameEditText.CopyTextAsCFString();
    if (!IsValidCode(fileNameRef, 0, kFileNameMaxChars, CEditText::AlphaNumericFilter)) {
      ShowAlert(CFSTR("Enter a valid File Name"), CFSTR("Alert-Displayed when file name is invalid."), alertParam);
      err = kDontSwitchPane;
      valid = false;
    }
  }

  // All or nothing: after a failed test the ticket keeps what it held.
  if (valid) {
    if (userIDRef != NULL) PMTicketSetCFString(settingsRef, kCreator, kUserIDKey, userIDRef, false);
    if (passwordRef != NULL) PMTicketSetCFString(settingsRef, kCreator, kPasswordKey, passwordRef, false);
    PMTicketSetBoolean(settingsRef, kCreator, kEnableUserCodeKey, enableUserCode, false);
    if (userCodeRef != NULL) PMTicketSetCFString(settingsRef, kCreator, kUserCodeKey, userCodeRef, false);
    if (fileNameRef != NULL) PMTicketSetCFString(settingsRef, kCreator, kFileNameKey, fileNameRef, false);
    PMTicketSetCFString(settingsRef, kCreator, kJobTypeKey, GetJobTypeAsCFString(jobType), false);
    CFStringRef timeZoneRef = CreateClientTimeZoneString();
    if (timeZoneRef != NULL) {
      PMTicketSetCFString(settingsRef, kCreator, kTimeZoneKey, timeZoneRef, false);
      CFRelease(timeZoneRef);
    }
  }

  if (userIDRef != NULL) CFRelease(userIDRef);
  if (passwordRef != NULL) CFRelease(passwordRef);
  if (userCodeRef != NULL) CFRelease(userCodeRef);
  if (fileNameRef != NULL) CFRelease(fileNameRef);
  return err;
}

// ---- The summary ----

CFStringRef CJobLogPDE::CopyJobTypeSummary(SInt16 menuItemNo) {
  switch (menuItemNo) {
    case kJobTypeSamplePrint:
      return CopyLocalizedString(CFSTR("Sample Print"), CFSTR("Summary-Sample Print"));
    case kJobTypeLockedPrint:
      return CopyLocalizedString(CFSTR("Locked Print"), CFSTR("Summary-Locked Print"));
    case kJobTypePausedPrint:
      return CopyLocalizedString(CFSTR("Paused Print"), CFSTR("Summary-Paused Print"));
    case kJobTypeSavedPrint:
      return CopyLocalizedString(CFSTR("Saved Print"), CFSTR("Summary-Saved Print"));
    case kJobTypeSaveDocumentPrint:
      return CopyLocalizedString(CFSTR("Save Document Print"), CFSTR("Summary-Sav2 Print"));
    case kJobTypeDocumentServer:
      return CopyLocalizedString(CFSTR("Document Server"), CFSTR("Summary-Document Server"));
    default:
      return CopyLocalizedString(CFSTR("Normal Print"), CFSTR("Summary-Normal Print"));
  }
}

void CJobLogPDE::AppendSummaryPair(CFMutableArrayRef titleArray, CFMutableArrayRef summaryArray,
                                   CFStringRef titleKey, CFStringRef comment, CFStringRef value) {
  CFStringRef title = CopyLocalizedString(titleKey, comment);
  if (title != NULL) {
    CFArrayAppendValue(titleArray, title);
    CFRelease(title);
    CFArrayAppendValue(summaryArray, value != NULL ? value : CFSTR(""));
  }
  if (value != NULL) CFRelease(value);
}

OSStatus CJobLogPDE::GetSummaryText(CFMutableArrayRef titleArray, CFMutableArrayRef summaryArray) {
  // The controls as they stand, not the ticket; the password never shows.
  const SInt16 menuItemNo = GetControlValue(mJobTypeCtrl);
  AppendSummaryPair(titleArray, summaryArray, CFSTR("Job Type"), CFSTR("Summary-Job Type"),
                    CopyJobTypeSummary(menuItemNo));
  if (UsesFileName(menuItemNo)) {
    AppendSummaryPair(titleArray, summaryArray, CFSTR("File Name"), CFSTR("Summary-File Name"),
                      mFileNameEditText.CopyTextAsCFString());
  }
  AppendSummaryPair(titleArray, summaryArray, CFSTR("User ID"), CFSTR("Summary-User ID"),
                    mUserIDEditText.CopyTextAsCFString());
  if (GetControlValue(mEnableUserCodeCtrl) != 0) {
    AppendSummaryPair(titleArray, summaryArray, CFSTR("User Code"), CFSTR("Summary-User Code"),
                      mUserCodeEditText.CopyTextAsCFString());
  }
  return noErr;
}

// ---- Job rules ----

CFStringRef CJobLogPDE::GetJobTypeAsCFString(SInt16 menuItemNo) {
  switch (menuItemNo) {
    case kJobTypeSamplePrint: return CFSTR("Sample Print");
    case kJobTypeLockedPrint: return CFSTR("Locked Print");
    case kJobTypePausedPrint: return CFSTR("Paused Print");
    case kJobTypeSavedPrint: return CFSTR("Saved Print");
    case kJobTypeSaveDocumentPrint: return CFSTR("Save Document Print");
    case kJobTypeDocumentServer: return CFSTR("Document Server");
    default: return CFSTR("Normal");
  }
}

SInt16 CJobLogPDE::GetJobTypeAsMenuItem(CFStringRef stringRef) {
  const struct {
    CFStringRef value;
    SInt16 item;
  } kValues[] = {
      {CFSTR("Sample Print"), kJobTypeSamplePrint},
      {CFSTR("Locked Print"), kJobTypeLockedPrint},
      {CFSTR("Document Server"), kJobTypeDocumentServer},
      {CFSTR("Paused Print"), kJobTypePausedPrint},
      {CFSTR("Saved Print"), kJobTypeSavedPrint},
      {CFSTR("Save Document Print"), kJobTypeSaveDocumentPrint},
  };
  if (stringRef == NULL) return kJobTypeNormalPrint;
  for (const auto& entry : kValues) {
    if (CFStringCompare(stringRef, entry.value, 0) == kCFCompareEqualTo) return entry.item;
  }
  return kJobTypeNormalPrint;  // "Normal", and any text that names no job type
}

Boolean CJobLogPDE::IsValidCode(CFStringRef codeStringRef, CFIndex minChars, CFIndex maxChars,
                                KeyFilterProcPtr filterProcPtr) {
  if (codeStringRef == NULL) return false;
  const CFIndex length = CFStringGetLength(codeStringRef);
  if (minChars != -1 && length < minChars) return false;
  if (maxChars != -1 && (length > maxChars || length > 255)) return false;
  if (filterProcPtr == NULL) return true;

  // The filters judge the text in its Mac OS Roman bytes.
  Str255 code;
  if (!CFStringGetPascalString(codeStringRef, code, sizeof(code), kCFStringEncodingMacRoman)) {
    return false;
  }
  for (int i = 1; i <= code[0]; ++i) {
    if (filterProcPtr(static_cast<SInt16>(code[i])) != 1) return false;
  }
  return true;
}

void CJobLogPDE::GetMinMaxPasswordLen(SInt16* minChars, SInt16* maxChars) {
  if (minChars != NULL) *minChars = kPasswordMinChars;
  if (maxChars != NULL) *maxChars = mLongPasswordSupport ? kLongPasswordMaxChars : kShortPasswordMaxChars;
}
