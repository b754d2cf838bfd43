// Standard alerts: defaults, creation with copies of the texts, and a run
// that returns at once and leaves a record for the dialog host and tests.
#include "HIToolboxInternal.h"

struct OpaqueDialogPtr {
  ~OpaqueDialogPtr() {
    if (message != nullptr) CFRelease(message);
    if (explanation != nullptr) CFRelease(explanation);
  }
  AlertType type;
  CFStringRef message;
  CFStringRef explanation;
  AlertStdCFStringAlertParamRec params;
};

namespace {

// The records own their texts until SimResetState.
std::vector<SimAlertRecord>& Records() {
  static auto* records = new std::vector<SimAlertRecord>();
  return *records;
}

}  // namespace

void standin::ResetAlerts() {
  for (SimAlertRecord& record : Records()) {
    CFRelease(record.message);
    if (record.explanation != nullptr) CFRelease(record.explanation);
  }
  Records().clear();
}

OSStatus GetStandardAlertDefaultParams(AlertStdCFStringAlertParamPtr param, UInt32 version) {
  if (param == nullptr || version != kStdCFStringAlertVersionOne) return paramErr;
  *param = AlertStdCFStringAlertParamRec{};
  param->version = kStdCFStringAlertVersionOne;
  param->movable = false;
  param->helpButton = false;
  param->defaultText = kAlertDefaultOKText;
  param->cancelText = nullptr;
  param->otherText = nullptr;
  param->defaultButton = kAlertStdAlertOKButton;
  param->cancelButton = 0;
  param->position = kWindowDefaultPosition;
  param->flags = 0;
  return noErr;
}

OSStatus CreateStandardAlert(AlertType alertType, CFStringRef error, CFStringRef explanation,
                             const AlertStdCFStringAlertParamRec* param, DialogRef* outAlert) {
  if (outAlert == nullptr) return paramErr;
  *outAlert = nullptr;
  if (error == nullptr || alertType < kAlertStopAlert || alertType > kAlertPlainAlert) return paramErr;
  AlertStdCFStringAlertParamRec params;
  if (param != nullptr) {
    if (param->version != kStdCFStringAlertVersionOne) return paramErr;
    params = *param;
  } else {
    GetStandardAlertDefaultParams(&params, kStdCFStringAlertVersionOne);
  }
  *outAlert = new OpaqueDialogPtr{alertType, CFStringCreateCopy(nullptr, error),
                                  explanation != nullptr ? CFStringCreateCopy(nullptr, explanation) : nullptr,
                                  params};
  return noErr;
}

OSStatus RunStandardAlert(DialogRef inAlert, ModalFilterUPP, DialogItemIndex* outItemHit) {
  if (inAlert == nullptr) return paramErr;
  Records().push_back({inAlert->type, inAlert->message, inAlert->explanation,
                       inAlert->params.movable, inAlert->params.position});
  inAlert->message = nullptr;
  inAlert->explanation = nullptr;
  if (outItemHit != nullptr) {
    *outItemHit = inAlert->params.defaultButton != 0 ? inAlert->params.defaultButton
                                                     : static_cast<DialogItemIndex>(kAlertStdAlertOKButton);
  }
  delete inAlert;
  return noErr;
}

CFIndex SimGetAlertCount(void) { return static_cast<CFIndex>(Records().size()); }

Boolean SimGetAlert(CFIndex index, SimAlertRecord* outAlert) {
  if (index < 0 || static_cast<size_t>(index) >= Records().size() || outAlert == nullptr) return false;
  *outAlert = Records()[static_cast<size_t>(index)];
  return true;
}
