// The objects behind the control toolkit stand-in: windows, controls,
// menus, event targets and handlers, shared by the HIToolbox sources.
#ifndef JOBLOG_PLATFORM_HITOOLBOXINTERNAL_H
#define JOBLOG_PLATFORM_HITOOLBOXINTERNAL_H

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "CFInternal.h"
#include "PlatformSimulation.h"

struct OpaqueEventHandlerRef {
  EventHandlerUPP proc;
  std::vector<EventTypeSpec> types;
  void* userData;
  OpaqueEventTargetRef* target;
  bool removed = false;
};

struct OpaqueEventTargetRef {
  OpaqueEventTargetRef(OpaqueControlRef* ownerControl, OpaqueWindowPtr* ownerWindow)
      : control(ownerControl), window(ownerWindow) {}
  ~OpaqueEventTargetRef();
  OpaqueControlRef* control;  // exactly one of the two is set
  OpaqueWindowPtr* window;
  std::vector<std::shared_ptr<OpaqueEventHandlerRef>> handlers;  // most recent first
};

struct OpaqueEventRef {
  EventClass eventClass;
  EventKind eventKind;
  std::map<EventParamName, std::pair<EventParamType, std::string>> parameters;
};

struct OpaqueMenuRef {
  struct Item {
    std::u16string text;
    CharParameter mark;
  };
  std::vector<Item> items;
};

struct OpaqueControlRef {
  OpaqueControlRef(SimControlKind controlKind, OpaqueWindowPtr* owner)
      : kind(controlKind), window(owner), target(this, nullptr) {}

  SimControlKind kind;
  ControlID id{0, 0};
  Rect bounds{0, 0, 0, 0};
  SInt16 value = 0;
  SInt16 minimum = 0;
  SInt16 maximum = 0;
  bool enabled = true;
  bool visible = true;
  std::u16string text;  // edit text (clear text of a password), static text, or title
  size_t selStart = 0;
  size_t selEnd = 0;
  ControlKeyFilterUPP keyFilter = nullptr;
  SRefCon reference = nullptr;
  UInt32 command = 0;
  UInt32 drawCount = 0;
  std::unique_ptr<OpaqueMenuRef> menu;  // popup buttons
  OpaqueControlRef* parent = nullptr;
  OpaqueWindowPtr* window;
  std::vector<std::unique_ptr<OpaqueControlRef>> children;
  OpaqueEventTargetRef target;
};

struct OpaqueWindowPtr {
  explicit OpaqueWindowPtr(const Rect& content);
  Rect contentBounds;
  std::unique_ptr<OpaqueControlRef> root;
  ControlRef focus = nullptr;
  OpaqueEventTargetRef target;
};

namespace standin {

bool IsEditText(ControlRef control);
bool IsEffectivelyVisible(ControlRef control);
// Adds a new control as the last sub-control of parent.
ControlRef NewControl(SimControlKind kind, ControlRef parent);

// Edit text: the text replaced, the caret put after it.
void SetEditText(ControlRef control, std::u16string text);
void ReplaceSelection(ControlRef control, const std::u16string& insert);

// Events.
EventRef NewCommandEvent(UInt32 commandID, UInt32 attributes);
void DisposeEvent(EventRef event);
// Sends the event to the control and on up the hierarchy while unhandled.
OSStatus SendEventToControl(ControlRef control, EventRef event);
OSStatus SendCommandToControl(ControlRef control, UInt32 commandID, UInt32 attributes);
// The standard handling of the control's own kind.
OSStatus StandardControlHandling(ControlRef control, EventRef event);
void CountUPP(long delta);

// The scrap's 'TEXT' flavor, NULL when it has none.
const std::string* ScrapText();

// Process state that SimResetState forgets.
void ResetScrap();
void ResetAlerts();
void ResetBeeps();
void ResetNewPtrFailures();

}  // namespace standin

#endif
