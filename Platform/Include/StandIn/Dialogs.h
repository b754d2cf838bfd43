/* Dialogs.h: standard alerts: GetStandardAlertDefaultParams,
 * CreateStandardAlert and RunStandardAlert. An alert keeps copies of its
 * texts. Running it is modal on the platform; here it returns at once as
 * if the default button had been pressed, records the alert (type, texts,
 * movable, position) for the dialog host and the tests, and disposes it,
 * as the platform does after a run. */
#ifndef JOBLOG_STANDIN_DIALOGS_H
#define JOBLOG_STANDIN_DIALOGS_H

#include "CFBase.h"
#include "HIToolboxTypes.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef SInt16 AlertType;
enum {
  kAlertStopAlert = 0,
  kAlertNoteAlert = 1,
  kAlertCautionAlert = 2,
  kAlertPlainAlert = 3
};

typedef SInt16 DialogItemIndex;
enum {
  kAlertStdAlertOKButton = 1,
  kAlertStdAlertCancelButton = 2
};

enum {
  kStdCFStringAlertVersionOne = 1
};

enum {
  kWindowDefaultPosition = 0,
  kWindowAlertPositionParentWindow = 0xB00A
};

/* The default button's text chosen by the toolkit ("OK"). */
#define kAlertDefaultOKText ((CFStringRef)(intptr_t)-1)

typedef struct AlertStdCFStringAlertParamRec {
  UInt32 version;
  Boolean movable;
  Boolean helpButton;
  CFStringRef defaultText;
  CFStringRef cancelText;
  CFStringRef otherText;
  SInt16 defaultButton;
  SInt16 cancelButton;
  UInt16 position;
  OptionBits flags;
} AlertStdCFStringAlertParamRec;
typedef AlertStdCFStringAlertParamRec* AlertStdCFStringAlertParamPtr;

typedef Boolean (*ModalFilterProcPtr)(DialogRef theDialog, EventRef theEvent,
                                      DialogItemIndex* itemHit);
typedef ModalFilterProcPtr ModalFilterUPP;

/* The defaults: not movable, no help button, the default button "OK" and
 * no others, the default position, no flags. paramErr for another version. */
OSStatus GetStandardAlertDefaultParams(AlertStdCFStringAlertParamPtr param, UInt32 version);
/* error is required, explanation and param may be NULL. */
OSStatus CreateStandardAlert(AlertType alertType, CFStringRef error, CFStringRef explanation,
                             const AlertStdCFStringAlertParamRec* param, DialogRef* outAlert);
/* filterProc is not called; outItemHit (may be NULL) gets the default
 * button. The alert is disposed. */
OSStatus RunStandardAlert(DialogRef inAlert, ModalFilterUPP filterProc,
                          DialogItemIndex* outItemHit);

#ifdef __cplusplus
}
#endif

#endif
