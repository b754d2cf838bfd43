/* PlatformSimulation.h: what the print dialog, the printing system and the
 * user do on the real platform, for the dialog host and the tests. The
 * dialog extension's own code never includes this header.
 *
 * It makes print sessions and tickets, windows and user panes, plays the
 * user's keys, pastes, clicks and popup choices through the toolkit's own
 * path (key filter, command events, standard handling), and reads back
 * what the platform keeps: control state, ticket entries, beeps, alerts,
 * plug-in instance counts and the number of live Core Foundation objects. */
#ifndef JOBLOG_PLATFORM_SIMULATION_H
#define JOBLOG_PLATFORM_SIMULATION_H

#include "JobLogPlatform.h"

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Process-wide state ---- */

/* Forgets the recorded alerts, the beep count, the scrap and pending
 * NewPtr failures. */
void SimResetState(void);
/* Core Foundation objects allocated and not yet freed; constants (CFSTR
 * strings, constant UUIDs, the Booleans) are not counted. */
CFIndex SimGetLiveCFObjectCount(void);
/* Routine descriptors made by New...UPP and not yet disposed. */
long SimGetLiveUPPCount(void);
/* The next count calls of NewPtr return NULL, as when memory is short. */
void SimFailNextNewPtr(int count);

/* ---- Plug-ins ---- */

/* CFPlugInAddInstanceForFactory calls minus CFPlugInRemoveInstanceForFactory
 * calls for the factory. */
long SimGetFactoryInstanceCount(CFUUIDRef factoryID);

/* ---- Print sessions and tickets ---- */

PMPrintSession SimCreatePrintSession(void);
/* Releases the session's entries and its hold on its tickets. */
void SimReleasePrintSession(PMPrintSession session);
/* Sets a data entry; the session retains value. NULL value removes it. */
OSStatus SimSessionSetData(PMPrintSession session, CFStringRef key, CFTypeRef value);
/* Puts a ticket into the session under key ("PMPrinterInfoTicket",
 * "PMPrintSettingsTicket"): the entry is a kCFNumberLongType number holding
 * the ticket's address, and the session keeps the ticket alive while the
 * entry is there. */
OSStatus SimSessionSetTicket(PMPrintSession session, CFStringRef key, PMTicketRef ticket);

/* A new, empty ticket with one reference, which the caller releases. */
PMTicketRef SimCreateTicket(void);
void SimReleaseTicket(PMTicketRef ticket);

typedef struct SimTicketEntry {
  CFStringRef key;     /* borrowed */
  CFTypeRef value;     /* borrowed: a CFString or a CFBoolean */
  CFStringRef creator; /* borrowed: the client ID of the last set */
  Boolean locked;
} SimTicketEntry;
CFIndex SimTicketGetEntryCount(PMTicketRef ticket);
/* Entries in the order they were first set; false past the end. */
Boolean SimTicketGetEntry(PMTicketRef ticket, CFIndex index, SimTicketEntry* outEntry);

/* ---- Windows and controls ---- */

/* A window with an empty root control; the caller disposes it
 * (DisposeWindow). */
WindowRef SimCreateWindow(const Rect* contentBounds);
/* A visible, enabled user pane embedded in parent (the window's root when
 * NULL): the pane into which the print dialog lets an extension put its
 * controls. */
ControlRef SimCreateUserPane(WindowRef window, ControlRef parent, const Rect* bounds);

typedef enum SimControlKind {
  kSimControlRoot,
  kSimControlUserPane,
  kSimControlEditText,
  kSimControlPasswordEditText,
  kSimControlStaticText,
  kSimControlPopupButton,
  kSimControlCheckBox
} SimControlKind;

SimControlKind SimGetControlKind(ControlRef control);
ControlID SimGetControlID(ControlRef control);
/* The command the control sends when used; 0 for none. */
UInt32 SimGetControlCommand(ControlRef control);
/* NULL for a root control. */
ControlRef SimGetParentControl(ControlRef control);
/* The text of an edit text (a password edit text's clear text), a static
 * text, or the title of another control; the caller releases it. */
CFStringRef SimCopyControlText(ControlRef control);
ControlEditTextSelectionRec SimGetControlSelection(ControlRef control);
/* Draw1Control calls on the control. */
UInt32 SimGetDrawCount(ControlRef control);

UInt16 SimCountMenuItems(MenuRef menu);
/* NULL for an item outside the menu; the caller releases it. */
CFStringRef SimCopyMenuItemText(MenuRef menu, MenuItemIndex item);
CharParameter SimGetItemMark(MenuRef menu, MenuItemIndex item);

/* ---- The user ---- */

/* Character codes of the editing keys. */
enum {
  kHomeCharCode = 0x01,
  kEnterCharCode = 0x03,
  kEndCharCode = 0x04,
  kBackspaceCharCode = 0x08,
  kTabCharCode = 0x09,
  kReturnCharCode = 0x0D,
  kEscapeCharCode = 0x1B,
  kLeftArrowCharCode = 0x1C,
  kRightArrowCharCode = 0x1D,
  kUpArrowCharCode = 0x1E,
  kDownArrowCharCode = 0x1F,
  kDeleteCharCode = 0x7F
};
enum {
  shiftKey = 0x0200
};

typedef enum SimKeyResult {
  kSimKeyApplied, /* the key did its work (text, caret, focus, command) */
  kSimKeyBlocked, /* the control's key filter blocked it */
  kSimKeyIgnored  /* the control takes no keys, or the key does nothing */
} SimKeyResult;

/* Types one key into an edit text, as the toolkit does: the control must be
 * enabled and visible and takes the keyboard focus; its key filter
 * ('fltr') sees the key first and may block it or change the character;
 * then, with cmdKey down, Command-A and Command-V send kHICommandSelectAll
 * and kHICommandPaste to the control (applied when that command is handled,
 * whatever the handler did) and other Command keys do nothing; backspace
 * and forward delete remove the selection or the character before/after
 * the caret; the arrow keys, home and end move the caret (up/home to the
 * start, down/end to the end); tab (shift-tab) moves the focus to the
 * next (previous) enabled, visible edit text of the window; return, enter,
 * escape and other control characters do nothing; any other character
 * replaces the selection. Character codes are UTF-16 units. */
SimKeyResult SimTypeKey(ControlRef control, UniChar charCode, EventModifiers modifiers);
/* Types each UTF-16 unit of the UTF-8 text; returns how many were applied. */
CFIndex SimTypeText(ControlRef control, const char* utf8Text);
/* Puts the text on the scrap in Mac OS Roman (paramErr if it has no such
 * form), then sends kHICommandPaste to the control as Command-V does; the
 * control must be enabled and visible (paramErr). Returns the command's
 * result. */
OSStatus SimPaste(ControlRef control, const char* utf8Text);
/* Sends a command event for commandID to the control; its handlers, its
 * standard handling and those of the controls and the window above it run
 * as CarbonEvents.h describes. Returns the result. */
OSStatus SimSendCommand(ControlRef control, UInt32 commandID);
/* Toggles the checkbox's value between 0 and 1, then sends its command (if
 * any). paramErr for another kind, or a disabled or hidden control. */
OSStatus SimClickCheckBox(ControlRef control);
/* Sets the popup button's value to item, then sends its command (if any).
 * paramErr for another kind, an item outside the menu, or a disabled or
 * hidden control. */
OSStatus SimChoosePopupItem(ControlRef control, MenuItemIndex item);

/* ---- Scrap, beeps and alerts ---- */

/* Replaces the scrap with one 'TEXT' flavor of these bytes. */
void SimSetScrapText(const void* bytes, Size length);
/* The same with UTF-8 text converted to Mac OS Roman; false (scrap
 * unchanged) when the text has no such form. */
Boolean SimSetScrapTextUTF8(const char* utf8Text);
void SimClearScrap(void);

UInt32 SimGetBeepCount(void);

typedef struct SimAlertRecord {
  AlertType type;
  CFStringRef message;     /* borrowed */
  CFStringRef explanation; /* borrowed; NULL when none */
  Boolean movable;
  UInt16 position;
} SimAlertRecord;
/* Alerts run by RunStandardAlert, in order. */
CFIndex SimGetAlertCount(void);
Boolean SimGetAlert(CFIndex index, SimAlertRecord* outAlert);

#ifdef __cplusplus
}
#endif

#endif
