/* CarbonEvents.h: Carbon events as the pane meets them: event targets of
 * controls and windows, InstallEventHandler, RemoveEventHandler,
 * CallNextEventHandler, GetEventParameter, NewEventHandlerUPP, the command
 * event (class kEventClassCommand, kind kEventCommandProcess, direct object
 * of type typeHICommand holding an HICommand) and the modifier bit cmdKey.
 *
 * Dispatch, as on the platform:
 * - A target's handlers run most recently installed first, each only for
 *   the event types it was installed for. A handler that returns anything
 *   but eventNotHandledErr ends the dispatch with that result (noErr: the
 *   event is consumed). CallNextEventHandler runs the rest of the chain:
 *   the next matching handler, and after the last one the target's
 *   standard handling, and returns its result.
 * - An event that the whole chain of a control leaves unhandled
 *   (eventNotHandledErr) goes on to the control it is embedded in, and so
 *   on up to the root control and then the window; the result of the last
 *   target that saw it comes back to the sender.
 * - Commands reach controls from the toolkit: a click on a checkbox or a
 *   choice in a popup button sends the control's command, if it has one, to
 *   the control; Command-V and Command-A typed into an edit text send
 *   kHICommandPaste and kHICommandSelectAll to it (the simulation calls of
 *   PlatformSimulation.h play these).
 * Standard handling of command events:
 * - edit text (and password edit text): kHICommandPaste replaces the
 *   selection with the scrap's 'TEXT' flavor, read as Mac OS Roman, puts
 *   the caret after it and returns noErr; when the scrap has no 'TEXT' it
 *   changes nothing and returns noErr. kHICommandSelectAll selects the
 *   whole text and returns noErr. Any other command: eventNotHandledErr.
 * - every other control, the root control and the window: eventNotHandledErr.
 * Handlers of a control are removed when the control is disposed. */
#ifndef JOBLOG_STANDIN_CARBONEVENTS_H
#define JOBLOG_STANDIN_CARBONEVENTS_H

#include "HIToolboxTypes.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef UInt32 EventClass;
typedef UInt32 EventKind;
typedef OSType EventParamName;
typedef OSType EventParamType;

typedef struct EventTypeSpec {
  EventClass eventClass;
  EventKind eventKind;
} EventTypeSpec;

enum {
  kEventClassCommand = 0x636D6473, /* 'cmds' */
  kEventCommandProcess = 1,
  kEventParamDirectObject = 0x2D2D2D2D, /* '----' */
  typeHICommand = 0x68636D64            /* 'hcmd' */
};

enum {
  kHICommandPaste = 0x70617374,    /* 'past' */
  kHICommandSelectAll = 0x73616C6C /* 'sall' */
};

typedef struct HICommand {
  UInt32 attributes;
  UInt32 commandID;
  struct {
    MenuRef menuRef;
    MenuItemIndex menuItemIndex;
  } menu;
} HICommand;

enum {
  cmdKey = 0x0100
};

enum {
  eventParameterNotFoundErr = -9870,
  eventNotHandledErr = -9874,
  errAECoercionFail = -1700
};

typedef OSStatus (*EventHandlerProcPtr)(EventHandlerCallRef inHandlerCallRef, EventRef inEvent,
                                        void* inUserData);
/* As on the 64-bit platform, a routine descriptor is the procedure pointer. */
typedef EventHandlerProcPtr EventHandlerUPP;
EventHandlerUPP NewEventHandlerUPP(EventHandlerProcPtr userRoutine);
void DisposeEventHandlerUPP(EventHandlerUPP userUPP);

EventTargetRef GetControlEventTarget(ControlRef inControl);
EventTargetRef GetWindowEventTarget(WindowRef inWindow);

/* paramErr for a NULL target or handler, or no event types. outRef may be
 * NULL. */
OSStatus InstallEventHandler(EventTargetRef inTarget, EventHandlerUPP inHandler,
                             UInt32 inNumTypes, const EventTypeSpec* inList, void* inUserData,
                             EventHandlerRef* outRef);
OSStatus RemoveEventHandler(EventHandlerRef inHandlerRef);
OSStatus CallNextEventHandler(EventHandlerCallRef inCallRef, EventRef inEvent);

/* Copies the parameter into outData. eventParameterNotFoundErr when the
 * event lacks it, errAECoercionFail when it is of another type than
 * inDesiredType, paramErr when inBufferSize is smaller than the parameter.
 * outActualType and outActualSize may be NULL. */
OSStatus GetEventParameter(EventRef inEvent, EventParamName inName, EventParamType inDesiredType,
                           EventParamType* outActualType, ByteCount inBufferSize,
                           ByteCount* outActualSize, void* outData);

#ifdef __cplusplus
}
#endif

#endif
