// Carbon events: handler chains on event targets, CallNextEventHandler down
// to the standard handling, propagation from a control up through its
// embedders to the window, and event parameters.
#include <cstring>

#include "HIToolboxInternal.h"

// One handler's place in a running dispatch: what CallNextEventHandler
// continues from.
struct OpaqueEventHandlerCallRef {
  OpaqueEventTargetRef* target;
  const std::vector<std::shared_ptr<OpaqueEventHandlerRef>>* chain;  // taken when the dispatch began
  size_t index;                                                      // the running handler
  bool calledNext;
};

namespace {

long gLiveUPPs = 0;

bool Matches(const OpaqueEventHandlerRef& handler, EventRef event) {
  for (const EventTypeSpec& type : handler.types) {
    if (type.eventClass == event->eventClass && type.eventKind == event->eventKind) return true;
  }
  return false;
}

// Runs the handlers from position `from` of the chain, then the target's
// standard handling. A handler that returns eventNotHandledErr without
// having called CallNextEventHandler lets the rest of the chain run.
OSStatus ContinueDispatch(OpaqueEventTargetRef* target,
                          const std::vector<std::shared_ptr<OpaqueEventHandlerRef>>& chain,
                          size_t from, EventRef event) {
  for (size_t i = from; i < chain.size(); ++i) {
    if (chain[i]->removed) continue;
    OpaqueEventHandlerCallRef call{target, &chain, i, false};
    OSStatus status = chain[i]->proc(&call, event, chain[i]->userData);
    if (status != eventNotHandledErr || call.calledNext) return status;
  }
  if (target->control != nullptr) return standin::StandardControlHandling(target->control, event);
  return eventNotHandledErr;  // a window's standard handling takes no command
}

OSStatus DispatchToTarget(OpaqueEventTargetRef* target, EventRef event) {
  // Handlers installed or removed while the event runs do not change this
  // dispatch, except that a removed handler is not called.
  std::vector<std::shared_ptr<OpaqueEventHandlerRef>> chain;
  for (const auto& handler : target->handlers) {
    if (Matches(*handler, event)) chain.push_back(handler);
  }
  return ContinueDispatch(target, chain, 0, event);
}

}  // namespace

OpaqueEventTargetRef::~OpaqueEventTargetRef() {
  for (auto& handler : handlers) handler->removed = true;
}

namespace standin {

void CountUPP(long delta) { gLiveUPPs += delta; }

EventRef NewCommandEvent(UInt32 commandID, UInt32 attributes) {
  auto* event = new OpaqueEventRef{kEventClassCommand, kEventCommandProcess, {}};
  HICommand command;
  std::memset(&command, 0, sizeof command);
  command.attributes = attributes;
  command.commandID = commandID;
  event->parameters[kEventParamDirectObject] = {
      typeHICommand, std::string(reinterpret_cast<const char*>(&command), sizeof command)};
  return event;
}

void DisposeEvent(EventRef event) { delete event; }

OSStatus SendEventToControl(ControlRef control, EventRef event) {
  OSStatus status = eventNotHandledErr;
  WindowRef window = control->window;
  for (ControlRef c = control; c != nullptr; c = c->parent) {
    status = DispatchToTarget(&c->target, event);
    if (status != eventNotHandledErr) return status;
  }
  return DispatchToTarget(&window->target, event);
}

OSStatus SendCommandToControl(ControlRef control, UInt32 commandID, UInt32 attributes) {
  EventRef event = NewCommandEvent(commandID, attributes);
  OSStatus status = SendEventToControl(control, event);
  DisposeEvent(event);
  return status;
}

}  // namespace standin

EventHandlerUPP NewEventHandlerUPP(EventHandlerProcPtr userRoutine) {
  if (userRoutine != nullptr) standin::CountUPP(1);
  return userRoutine;
}

void DisposeEventHandlerUPP(EventHandlerUPP userUPP) {
  if (userUPP != nullptr) standin::CountUPP(-1);
}

EventTargetRef GetControlEventTarget(ControlRef inControl) {
  return inControl != nullptr ? &inControl->target : nullptr;
}

EventTargetRef GetWindowEventTarget(WindowRef inWindow) {
  return inWindow != nullptr ? &inWindow->target : nullptr;
}

OSStatus InstallEventHandler(EventTargetRef inTarget, EventHandlerUPP inHandler, UInt32 inNumTypes,
                             const EventTypeSpec* inList, void* inUserData,
                             EventHandlerRef* outRef) {
  if (inTarget == nullptr || inHandler == nullptr || inNumTypes == 0 || inList == nullptr) {
    return paramErr;
  }
  auto handler = std::make_shared<OpaqueEventHandlerRef>();
  handler->proc = inHandler;
  handler->types.assign(inList, inList + inNumTypes);
  handler->userData = inUserData;
  handler->target = inTarget;
  inTarget->handlers.insert(inTarget->handlers.begin(), handler);
  if (outRef != nullptr) *outRef = handler.get();
  return noErr;
}

OSStatus RemoveEventHandler(EventHandlerRef inHandlerRef) {
  if (inHandlerRef == nullptr || inHandlerRef->removed) return paramErr;
  inHandlerRef->removed = true;
  auto& handlers = inHandlerRef->target->handlers;
  for (auto it = handlers.begin(); it != handlers.end(); ++it) {
    if (it->get() == inHandlerRef) {
      handlers.erase(it);  // may free the handler; nothing touches it after this
      break;
    }
  }
  return noErr;
}

OSStatus CallNextEventHandler(EventHandlerCallRef inCallRef, EventRef inEvent) {
  if (inCallRef == nullptr || inEvent == nullptr) return paramErr;
  inCallRef->calledNext = true;
  return ContinueDispatch(inCallRef->target, *inCallRef->chain, inCallRef->index + 1, inEvent);
}

OSStatus GetEventParameter(EventRef inEvent, EventParamName inName, EventParamType inDesiredType,
                           EventParamType* outActualType, ByteCount inBufferSize,
                           ByteCount* outActualSize, void* outData) {
  if (inEvent == nullptr) return paramErr;
  auto found = inEvent->parameters.find(inName);
  if (found == inEvent->parameters.end()) return eventParameterNotFoundErr;
  const EventParamType type = found->second.first;
  const std::string& bytes = found->second.second;
  if (type != inDesiredType) return errAECoercionFail;
  if (outActualType != nullptr) *outActualType = type;
  if (outActualSize != nullptr) *outActualSize = bytes.size();
  if (outData == nullptr) return noErr;
  if (inBufferSize < bytes.size()) return paramErr;
  std::memcpy(outData, bytes.data(), bytes.size());
  return noErr;
}

long SimGetLiveUPPCount(void) { return gLiveUPPs; }
