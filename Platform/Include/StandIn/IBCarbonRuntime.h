/* IBCarbonRuntime.h: nibs: CreateNibReferenceWithCFBundle,
 * CreateWindowFromNib and DisposeNibReference. As on the platform, the nib
 * "Name" is the bundle resource "Name.nib", found like any resource (the
 * localization's .lproj first, then Resources), and each window it
 * describes can be made any number of times, unshown, with its controls.
 *
 * The nib is this stand-in's own format: an XML property list,
 *   root: { "Windows": { window name: window, ... } }
 *   window: { "ContentBounds": bounds, "Controls": [control, ...] }
 *   control: {
 *     "Kind":      "EditText" | "PasswordEditText" | "StaticText" |
 *                  "PopupButton" | "CheckBox" | "UserPane"      (required)
 *     "Signature": 4-character string, "ID": integer  (the ControlID; 0)
 *     "Bounds":    bounds                                        (required)
 *     "Text":      string: the text of an edit or static text, the title
 *                  of a checkbox or popup button                      ("")
 *     "Value", "Minimum", "Maximum": integers, SInt16 (popup: 1, 1, the
 *                  number of items; checkbox: 0, 0, 1; others 0, 0, 0)
 *     "Items":     popup button only: array of item texts, or of
 *                  { "Text": string, "Mark": integer character code }
 *     "Command":   4-character string or integer: the command ID the
 *                  control sends when used                       (none, 0)
 *     "Enabled", "Visible": Booleans                         (true, true)
 *     "Controls":  user pane only: the controls embedded in it
 *   }
 *   bounds: [top, left, bottom, right], SInt16 integers.
 * Content bounds are global; control bounds are local to the content area.
 * Unknown keys, wrong types and out-of-range numbers make the whole nib
 * unusable: CreateNibReferenceWithCFBundle reports the first fault on
 * standard error and returns coreFoundationUnknownErr. */
#ifndef JOBLOG_STANDIN_IBCARBONRUNTIME_H
#define JOBLOG_STANDIN_IBCARBONRUNTIME_H

#include "CFBase.h"
#include "CFBundle.h"
#include "HIToolboxTypes.h"

#ifdef __cplusplus
extern "C" {
#endif

enum {
  coreFoundationUnknownErr = -4960,
  kIBCarbonRuntimeCantFindNibFile = -10960,
  kIBCarbonRuntimeCantFindObject = -10962
};

/* kIBCarbonRuntimeCantFindNibFile when the bundle has no such resource. */
OSStatus CreateNibReferenceWithCFBundle(CFBundleRef inBundle, CFStringRef inNibName,
                                        IBNibRef* outNibRef);
/* kIBCarbonRuntimeCantFindObject when the nib has no such window. */
OSStatus CreateWindowFromNib(IBNibRef inNibRef, CFStringRef inName, WindowRef* outWindow);
void DisposeNibReference(IBNibRef inNibRef);

#ifdef __cplusplus
}
#endif

#endif
