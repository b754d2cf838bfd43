/* Controls.h: controls: the embedding hierarchy (GetRootControl,
 * GetControlOwner, GetControlByID, CountSubControls, GetIndexedSubControl,
 * EmbedControl), bounds, value/minimum/maximum, enabled and visible state,
 * Draw1Control, control data (SetControlData, GetControlData), the
 * reference value, the keyboard focus, the popup button's menu, and the
 * key-filter callback type with NewControlKeyFilterUPP.
 *
 * Behaviour reproduced:
 * - A window's controls hang below its root control. EmbedControl moves a
 *   control, with everything embedded in it, under a new parent (the root
 *   or a user pane), possibly of another window; it leaves its old parent,
 *   whose later sub-controls move up one index. Sub-control indexes start
 *   at 1. Bounds are local to the window's content area and do not change
 *   on embedding.
 * - SetControlValue and SetControlMinimum/Maximum keep the value within
 *   minimum..maximum.
 * - IsControlEnabled is the control's own state; IsControlVisible is true
 *   when the control and every control it is embedded in are visible.
 * - Control data, with the size each tag requires (any other size gives
 *   errDataSizeMismatch, so a size must be the sizeof of the reference):
 *     edit text, part 0 or 5:
 *       kControlEditTextCFStringTag      CFStringRef: set keeps a copy and
 *                                        puts the caret after the text;
 *                                        get returns a new copy that the
 *                                        caller releases
 *       kControlEditTextSelectionTag     ControlEditTextSelectionRec, in
 *                                        UTF-16 units; a set is clamped to
 *                                        the text and put in order
 *       kControlEditTextKeyFilterTag     ControlKeyFilterUPP, consulted for
 *                                        every key typed (NULL removes it)
 *     password edit text: the same, but its text is under
 *       kControlEditTextPasswordCFStringTag; reading
 *       kControlEditTextCFStringTag gives one bullet (U+2022) per
 *       character and setting it gives errDataNotSupported
 *     static text, part 0 or 5:
 *       kControlStaticTextCFStringTag    CFStringRef, as for edit text
 *   Other tags give errDataNotSupported, other parts errInvalidPartCode.
 * - SetKeyboardFocus accepts an enabled, visible edit text of the window
 *   (part kControlEditTextPart); kControlFocusNoPart or a NULL control
 *   clears the focus.
 * - Draw1Control draws nothing; the simulation counts the calls.
 * - The popup button's standard behaviour (choosing an item sets the value
 *   and sends the control's command) and the edit text's standard handling
 *   of commands are described in CarbonEvents.h. */
#ifndef JOBLOG_STANDIN_CONTROLS_H
#define JOBLOG_STANDIN_CONTROLS_H

#include "CFBase.h"
#include "HIToolboxTypes.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct ControlID {
  OSType signature;
  SInt32 id;
} ControlID;

enum {
  kControlEntireControl = 0,
  kControlFocusNoPart = 0,
  kControlEditTextPart = 5
};

enum {
  kControlEditTextCFStringTag = 0x63667374,         /* 'cfst' */
  kControlEditTextPasswordCFStringTag = 0x70776366, /* 'pwcf' */
  kControlEditTextSelectionTag = 0x73656C65,        /* 'sele' */
  kControlEditTextKeyFilterTag = 0x666C7472,        /* 'fltr' */
  kControlStaticTextCFStringTag = 0x63667374        /* 'cfst' */
};

typedef struct ControlEditTextSelectionRec {
  SInt16 selStart;
  SInt16 selEnd;
} ControlEditTextSelectionRec;

typedef SInt16 ControlKeyFilterResult;
enum {
  kControlKeyFilterBlockKey = 0,
  kControlKeyFilterPassKey = 1
};

/* Called for each key typed into an edit text before it is applied; it may
 * change the character code. */
typedef ControlKeyFilterResult (*ControlKeyFilterProcPtr)(ControlRef theControl,
                                                          SInt16* keyCode, SInt16* charCode,
                                                          EventModifiers* modifiers);
/* As on the 64-bit platform, a routine descriptor is the procedure pointer. */
typedef ControlKeyFilterProcPtr ControlKeyFilterUPP;
ControlKeyFilterUPP NewControlKeyFilterUPP(ControlKeyFilterProcPtr userRoutine);
void DisposeControlKeyFilterUPP(ControlKeyFilterUPP userUPP);

enum {
  errDataNotSupported = -30581,
  errControlDoesntSupportFocus = -30582,
  errUnknownControl = -30584,
  errCouldntSetFocus = -30585,
  errNoRootControl = -30586,
  errInvalidPartCode = -30588,
  errControlIsNotEmbedder = -30590,
  errDataSizeMismatch = -30591,
  errCantEmbedIntoSelf = -30594,
  errCantEmbedRoot = -30595
};

OSErr GetRootControl(WindowRef inWindow, ControlRef* outControl);
WindowRef GetControlOwner(ControlRef inControl);
/* The first control with the ID, depth first; errUnknownControl if none. */
OSStatus GetControlByID(WindowRef inWindow, const ControlID* inID, ControlRef* outControl);
OSErr CountSubControls(ControlRef inControl, UInt16* outNumChildren);
OSErr GetIndexedSubControl(ControlRef inControl, UInt16 inIndex, ControlRef* outSubControl);
OSErr EmbedControl(ControlRef inControl, ControlRef inContainer);

Rect* GetControlBounds(ControlRef control, Rect* bounds);
void SetControlBounds(ControlRef control, const Rect* bounds);

SInt16 GetControlValue(ControlRef theControl);
void SetControlValue(ControlRef theControl, SInt16 newValue);
SInt16 GetControlMinimum(ControlRef theControl);
void SetControlMinimum(ControlRef theControl, SInt16 newMinimum);
SInt16 GetControlMaximum(ControlRef theControl);
void SetControlMaximum(ControlRef theControl, SInt16 newMaximum);

OSStatus EnableControl(ControlRef inControl);
OSStatus DisableControl(ControlRef inControl);
Boolean IsControlEnabled(ControlRef inControl);
OSErr SetControlVisibility(ControlRef inControl, Boolean inIsVisible, Boolean inDoDraw);
void ShowControl(ControlRef theControl);
Boolean IsControlVisible(ControlRef inControl);
void Draw1Control(ControlRef theControl);

OSErr SetControlData(ControlRef inControl, ControlPartCode inPart, ResType inTagName,
                     Size inSize, const void* inData);
/* outActualSize may be NULL. With a NULL inBuffer only the size is told. */
OSErr GetControlData(ControlRef inControl, ControlPartCode inPart, ResType inTagName,
                     Size inBufferSize, void* inBuffer, Size* outActualSize);

void SetControlReference(ControlRef theControl, SRefCon data);
SRefCon GetControlReference(ControlRef theControl);

OSErr SetKeyboardFocus(WindowRef inWindow, ControlRef inControl, ControlPartCode inPart);
/* NULL when no control of the window has the focus. */
OSErr GetKeyboardFocus(WindowRef inWindow, ControlRef* outControl);

/* The popup button's menu, owned by the control; NULL for another kind. */
MenuRef GetControlPopupMenuHandle(ControlRef control);

#ifdef __cplusplus
}
#endif

#endif
