// CJobLogPDE: the Job Log pane and its job rules.
#include "CJobLogPDE.h"

namespace {

const SInt16 kPasswordMinChars = 4;
const SInt16 kShortPasswordMaxChars = 4;
const SInt16 kLongPasswordMaxChars = 8;

}  // namespace

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
      mCommandHandlerUPP(NULL) {}

CJobLogPDE::~CJobLogPDE() {}

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
