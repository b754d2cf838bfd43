// A small dialog extension for the dialog host's tests, built into the
// fixture bundle FixturePane.plugin. It implements the dialog-extension
// interface table directly: a factory and an IUnknown instance, the
// interface record, and a pane with a few controls from the nib "Fixture"
// (user ID 1, job type popup 2, password 3, code checkbox 4, code 5, note
// 103) that filters keys, enables fields by the popup and the checkbox,
// checks and writes the print settings on Sync, reads them back, and lists
// them in its summary. The pane is built only for "Fixture Printer".
//
// FIXTURE_PANE_RESULTS steers results, as comma-separated NAME=CODE pairs:
// prologue, open, close and reload answer CODE instead of their own result
// (a failing prologue makes no pane); summary=CODE fails the summary with
// CODE, summary=uneven lists a title without its value.
//
// A second factory, FixtureUnknownOnlyFactory, makes an instance that
// answers only IUnknown, for a bundle that offers no dialog extension.
#include <cstdlib>
#include <cstring>
#include <string>

#include "JobLogPlatform.h"

namespace {

#define kDialogExtensionTypeID "BDB091F4-E57F-11D3-B5CC-0050E4603277"
#define kDialogExtensionInterfaceID "A996FD7E-B738-11D3-8519-0050E4603277"
#define kFactoryID "5C1D7E2A-8B3F-4A6D-9E0C-1F2A3B4C5D6E"
#define kUnknownOnlyFactoryID "7E0A1B2C-3D4E-4F50-8A6B-7C8D9E0F1A2B"
#define kBundleID "com.zelvo.test.pdehost.FixturePane"
#define kCreator "com.zelvo.printingmanager"

const OSType kSignature = 0x6A6C6F67;  // 'jlog'
const OSStatus kNoContextErr = -9530;
const OSStatus kStayInPaneErr = -9531;

// ---- Steering ----

// The code steered for name, or fallback.
OSStatus SteeredResult(const char* name, OSStatus fallback) {
  const char* results = std::getenv("FIXTURE_PANE_RESULTS");
  if (results == nullptr) return fallback;
  const std::string list = std::string(",") + results + ",";
  const std::string key = std::string(",") + name + "=";
  const size_t at = list.find(key);
  if (at == std::string::npos) return fallback;
  const std::string value = list.substr(at + key.size(), list.find(',', at + key.size()) - at - key.size());
  return static_cast<OSStatus>(std::strtol(value.c_str(), nullptr, 10));
}

bool SteeredUnevenSummary() {
  const char* results = std::getenv("FIXTURE_PANE_RESULTS");
  return results != nullptr && std::strstr(results, "summary=uneven") != nullptr;
}

CFBundleRef OwnBundle() { return CFBundleGetBundleWithIdentifier(CFSTR(kBundleID)); }

CFStringRef CopyLocalized(CFStringRef key) {
  return CFBundleCopyLocalizedString(OwnBundle(), key, nullptr, nullptr);
}

// ---- Fields ----

struct FieldRule {
  bool digitsOnly;
  CFIndex maxChars;
  bool password;
};

const FieldRule kUserIDRule = {false, 8, false};
const FieldRule kPasswordRule = {true, 4, true};
const FieldRule kCodeRule = {true, 8, false};

CFStringRef CopyFieldText(ControlRef field) {
  CFStringRef text = nullptr;
  if (field == nullptr) return nullptr;
  const FieldRule* rule = static_cast<const FieldRule*>(GetControlReference(field));
  const ResType tag = rule != nullptr && rule->password ? kControlEditTextPasswordCFStringTag : kControlEditTextCFStringTag;
  if (GetControlData(field, kControlEntireControl, tag, sizeof text, &text, nullptr) != noErr) return nullptr;
  return text;
}

void SetFieldText(ControlRef field, CFStringRef text) {
  const FieldRule* rule = static_cast<const FieldRule*>(GetControlReference(field));
  const ResType tag = rule != nullptr && rule->password ? kControlEditTextPasswordCFStringTag : kControlEditTextCFStringTag;
  SetControlData(field, kControlEntireControl, tag, sizeof text, &text);
}

// Letters and digits (digits only where the rule says), and no more than the
// rule's characters; editing keys and Command keys pass.
ControlKeyFilterResult FieldKeyFilter(ControlRef field, SInt16*, SInt16* charCode, EventModifiers* modifiers) {
  const SInt16 c = *charCode;
  if ((*modifiers & cmdKey) != 0 || (c >= 0 && c < 0x20) || c == 0x7F) return kControlKeyFilterPassKey;
  const FieldRule* rule = static_cast<const FieldRule*>(GetControlReference(field));
  const bool digit = c >= '0' && c <= '9';
  const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
  if (!digit && (rule->digitsOnly || !letter)) return kControlKeyFilterBlockKey;
  CFStringRef text = CopyFieldText(field);
  const CFIndex length = text != nullptr ? CFStringGetLength(text) : 0;
  if (text != nullptr) CFRelease(text);
  ControlEditTextSelectionRec selection = {0, 0};
  GetControlData(field, kControlEntireControl, kControlEditTextSelectionTag, sizeof selection, &selection, nullptr);
  return length - (selection.selEnd - selection.selStart) < rule->maxChars ? kControlKeyFilterPassKey
                                                                           : kControlKeyFilterBlockKey;
}

// ---- The pane ----

struct Pane {
  ControlRef userID = nullptr;
  ControlRef jobType = nullptr;
  ControlRef password = nullptr;
  ControlRef useCode = nullptr;
  ControlRef code = nullptr;
  ControlRef note = nullptr;
  EventHandlerUPP handlerUPP = nullptr;
  EventHandlerRef handler = nullptr;
};

void UpdateState(Pane* pane) {
  if (pane->jobType == nullptr) return;
  const bool held = GetControlValue(pane->jobType) >= 2;
  (held ? EnableControl : DisableControl)(pane->password);
  (held ? EnableControl : DisableControl)(pane->note);
  (GetControlValue(pane->useCode) != 0 ? EnableControl : DisableControl)(pane->code);
}

OSStatus CommandHandler(EventHandlerCallRef callRef, EventRef event, void* userData) {
  UpdateState(static_cast<Pane*>(userData));
  return CallNextEventHandler(callRef, event);
}

PMTicketRef SessionTicket(PMPrintSession session, CFStringRef key) {
  CFTypeRef value = nullptr;
  long ticket = 0;
  if (PMSessionGetDataFromSession(session, key, &value) != noErr ||
      !CFNumberGetValue(static_cast<CFNumberRef>(value), kCFNumberLongType, &ticket)) {
    return nullptr;
  }
  return reinterpret_cast<PMTicketRef>(ticket);
}

CFStringRef CopyJobTypeText(Pane* pane) {
  CFStringRef text = nullptr;
  // The popup's items are the nib's: Normal, Held, Stored.
  static const char* const kItems[] = {"Normal", "Held", "Stored"};
  const SInt16 item = GetControlValue(pane->jobType);
  if (item >= 1 && item <= 3) text = CFStringCreateWithCString(kCFAllocatorDefault, kItems[item - 1], kCFStringEncodingUTF8);
  return text;
}

void ShowAlert(CFStringRef key) {
  CFStringRef message = CopyLocalized(key);
  AlertStdCFStringAlertParamRec param;
  GetStandardAlertDefaultParams(&param, kStdCFStringAlertVersionOne);
  param.movable = true;
  param.position = kWindowAlertPositionParentWindow;
  DialogRef alert = nullptr;
  CreateStandardAlert(kAlertCautionAlert, message, nullptr, &param, &alert);
  SysBeep(1);
  RunStandardAlert(alert, nullptr, nullptr);
  CFRelease(message);
}

OSStatus TicketToUI(Pane* pane, PMPrintSession session) {
  PMTicketRef settings = SessionTicket(session, CFSTR("PMPrintSettingsTicket"));
  if (settings == nullptr) return kPMKeyNotFound;
  CFStringRef text = nullptr;
  Boolean on = false;
  if (pane->userID != nullptr && PMTicketGetCFString(settings, 0, 0, CFSTR("com.zelvo.pm.UserID"), &text) == noErr) {
    SetFieldText(pane->userID, text);
  }
  if (pane->useCode != nullptr && PMTicketGetBoolean(settings, 0, 0, CFSTR("com.zelvo.pm.EnableUserCode"), &on) == noErr) {
    SetControlValue(pane->useCode, on ? 1 : 0);
  }
  if (pane->jobType != nullptr && PMTicketGetCFString(settings, 0, 0, CFSTR("com.zelvo.pm.JobType"), &text) == noErr) {
    SInt16 item = 1;
    if (CFEqual(text, CFSTR("Held"))) item = 2;
    if (CFEqual(text, CFSTR("Stored"))) item = 3;
    SetControlValue(pane->jobType, item);
  }
  UpdateState(pane);
  return noErr;
}

OSStatus UIToTicket(Pane* pane, PMPrintSession session) {
  PMTicketRef settings = SessionTicket(session, CFSTR("PMPrintSettingsTicket"));
  if (settings == nullptr) return kPMKeyNotFound;
  CFStringRef userID = CopyFieldText(pane->userID);
  CFStringRef password = CopyFieldText(pane->password);
  CFStringRef code = CopyFieldText(pane->code);
  const bool useCode = pane->useCode != nullptr && GetControlValue(pane->useCode) != 0;
  bool valid = true;
  if (userID == nullptr || CFStringGetLength(userID) == 0) {
    ShowAlert(CFSTR("Enter a user ID"));
    valid = false;
  }
  if (useCode && (code == nullptr || CFStringGetLength(code) == 0)) {
    ShowAlert(CFSTR("Enter a user code"));
    valid = false;
  }
  if (valid) {
    CFStringRef jobType = CopyJobTypeText(pane);
    PMTicketSetCFString(settings, CFSTR(kCreator), CFSTR("com.zelvo.pm.UserID"), userID, false);
    PMTicketSetCFString(settings, CFSTR(kCreator), CFSTR("com.zelvo.pm.Password"), password, false);
    PMTicketSetBoolean(settings, CFSTR(kCreator), CFSTR("com.zelvo.pm.EnableUserCode"), useCode, false);
    PMTicketSetCFString(settings, CFSTR(kCreator), CFSTR("com.zelvo.pm.UserCode"), code, false);
    PMTicketSetCFString(settings, CFSTR(kCreator), CFSTR("com.zelvo.pm.JobType"), jobType, false);
    CFRelease(jobType);
  }
  for (CFStringRef copy : {userID, password, code}) {
    if (copy != nullptr) CFRelease(copy);
  }
  return valid ? noErr : kStayInPaneErr;
}

void AppendPair(CFMutableArrayRef titles, CFMutableArrayRef values, CFStringRef titleKey, CFStringRef value) {
  CFStringRef title = CopyLocalized(titleKey);
  CFArrayAppendValue(titles, title);
  CFRelease(title);
  if (value != nullptr) {
    CFArrayAppendValue(values, value);
    CFRelease(value);
  }
}

// ---- The interface table ----

struct Interface {
  PlugInIntfVTable* vtable;
  UInt32 refCount;
};

OSStatus Retain(PMPlugInHeaderInterface* object) {
  ++reinterpret_cast<Interface*>(object)->refCount;
  return noErr;
}

OSStatus Release(PMPlugInHeaderInterface** objectPtr) {
  auto* interface = reinterpret_cast<Interface*>(*objectPtr);
  *objectPtr = nullptr;
  if (interface != nullptr && --interface->refCount == 0) {
    std::free(interface->vtable);
    std::free(interface);
  }
  return noErr;
}

OSStatus GetAPIVersion(PMPlugInHeaderInterface*, PMPlugInAPIVersion* version) {
  *version = {1, 0, 1, 0};
  return noErr;
}

OSStatus Prologue(PMPDEContext* context, OSType* creator, CFStringRef* userOptionKind, CFStringRef* title,
                  UInt32* maxH, UInt32* maxV) {
  const OSStatus steered = SteeredResult("prologue", noErr);
  if (steered != noErr) return steered;
  *creator = kSignature;
  *userOptionKind = CFSTR("com.zelvo.test.pdehost.FixtureKind");
  *title = CopyLocalized(CFSTR("Fixture"));
  *maxH = 300;
  *maxV = 200;
  *context = reinterpret_cast<PMPDEContext>(new Pane());
  return noErr;
}

OSStatus Initialize(PMPDEContext context, PMPDEFlags*, PMPDERef, ControlRef userPane, PMPrintSession session) {
  auto* pane = reinterpret_cast<Pane*>(context);
  PMTicketRef printerInfo = SessionTicket(session, CFSTR("PMPrinterInfoTicket"));
  CFStringRef model = nullptr;
  if (printerInfo == nullptr ||
      PMTicketGetCFString(printerInfo, 0, 0, CFSTR("com.apple.print.PrinterInfo.PMMakeAndModelName"), &model) != noErr ||
      !CFEqual(model, CFSTR("Fixture Printer"))) {
    return kNoContextErr;
  }
  IBNibRef nib = nullptr;
  WindowRef window = nullptr;
  if (CreateNibReferenceWithCFBundle(OwnBundle(), CFSTR("Fixture"), &nib) != noErr) return noErr;
  if (CreateWindowFromNib(nib, CFSTR("Window"), &window) != noErr) {
    DisposeNibReference(nib);
    return noErr;
  }
  struct {
    SInt32 id;
    ControlRef* field;
    const FieldRule* rule;
  } const controls[] = {{1, &pane->userID, &kUserIDRule}, {2, &pane->jobType, nullptr},
                        {3, &pane->password, &kPasswordRule}, {4, &pane->useCode, nullptr},
                        {5, &pane->code, &kCodeRule},       {103, &pane->note, nullptr}};
  for (const auto& control : controls) {
    const ControlID id = {kSignature, control.id};
    GetControlByID(window, &id, control.field);
    if (control.rule == nullptr || *control.field == nullptr) continue;
    SetControlReference(*control.field, const_cast<FieldRule*>(control.rule));
    ControlKeyFilterUPP filter = FieldKeyFilter;
    SetControlData(*control.field, kControlEditTextPart, kControlEditTextKeyFilterTag, sizeof filter, &filter);
  }
  ControlRef root = nullptr;
  GetRootControl(window, &root);
  ControlRef child = nullptr;
  while (GetIndexedSubControl(root, 1, &child) == noErr) EmbedControl(child, userPane);
  pane->handlerUPP = NewEventHandlerUPP(CommandHandler);
  const EventTypeSpec commands = {kEventClassCommand, kEventCommandProcess};
  InstallEventHandler(GetControlEventTarget(userPane), pane->handlerUPP, 1, &commands, pane, &pane->handler);
  DisposeWindow(window);
  DisposeNibReference(nib);
  TicketToUI(pane, session);
  return noErr;
}

OSStatus Sync(PMPDEContext context, PMPrintSession session, Boolean towardsPane) {
  auto* pane = reinterpret_cast<Pane*>(context);
  if (towardsPane) return SteeredResult("reload", TicketToUI(pane, session));
  return UIToTicket(pane, session);
}

OSStatus GetSummaryText(PMPDEContext context, CFArrayRef* titleArray, CFArrayRef* summaryArray) {
  auto* pane = reinterpret_cast<Pane*>(context);
  *titleArray = nullptr;
  *summaryArray = nullptr;
  if (!SteeredUnevenSummary()) {
    const OSStatus steered = SteeredResult("summary", noErr);
    if (steered != noErr) return steered;
  }
  CFMutableArrayRef titles = CFArrayCreateMutable(kCFAllocatorDefault, 0, &kCFTypeArrayCallBacks);
  CFMutableArrayRef values = CFArrayCreateMutable(kCFAllocatorDefault, 0, &kCFTypeArrayCallBacks);
  if (pane->jobType != nullptr) {
    AppendPair(titles, values, CFSTR("Job Type"), CopyJobTypeText(pane));
    AppendPair(titles, values, CFSTR("User ID"), CopyFieldText(pane->userID));
    if (GetControlValue(pane->useCode) != 0) AppendPair(titles, values, CFSTR("User Code"), CopyFieldText(pane->code));
    if (SteeredUnevenSummary()) AppendPair(titles, values, CFSTR("Note"), nullptr);
  }
  *titleArray = titles;
  *summaryArray = values;
  return noErr;
}

OSStatus Open(PMPDEContext context) {
  auto* pane = reinterpret_cast<Pane*>(context);
  UpdateState(pane);
  if (pane->userID != nullptr) SetKeyboardFocus(GetControlOwner(pane->userID), pane->userID, kControlEditTextPart);
  return SteeredResult("open", noErr);
}

OSStatus Close(PMPDEContext) { return SteeredResult("close", noErr); }

OSStatus Terminate(PMPDEContext context, OSStatus) {
  auto* pane = reinterpret_cast<Pane*>(context);
  if (pane->handler != nullptr) RemoveEventHandler(pane->handler);
  if (pane->handlerUPP != nullptr) DisposeEventHandlerUPP(pane->handlerUPP);
  delete pane;
  return noErr;
}

// ---- The instance ----

struct Instance {
  IUnknownVTbl* vtable;
  IUnknownVTbl vtableStorage;
  CFUUIDRef factoryID;
  ULONG refCount;
  bool offersDialogExtension;
};

ULONG AddRef(void* self) { return ++static_cast<Instance*>(self)->refCount; }

ULONG ReleaseInstance(void* self) {
  auto* instance = static_cast<Instance*>(self);
  if (--instance->refCount > 0) return instance->refCount;
  CFPlugInRemoveInstanceForFactory(instance->factoryID);
  CFRelease(instance->factoryID);
  std::free(instance);
  return 0;
}

HRESULT QueryInterface(void* self, REFIID iid, LPVOID* out) {
  auto* instance = static_cast<Instance*>(self);
  CFUUIDRef requested = CFUUIDCreateFromUUIDBytes(kCFAllocatorDefault, iid);
  CFUUIDRef dialogExtension = CFUUIDCreateFromString(kCFAllocatorDefault, CFSTR(kDialogExtensionInterfaceID));
  HRESULT result = E_NOINTERFACE;
  *out = nullptr;
  if (CFEqual(requested, IUnknownUUID)) {
    AddRef(self);
    *out = self;
    result = S_OK;
  } else if (instance->offersDialogExtension && CFEqual(requested, dialogExtension)) {
    auto* interface = static_cast<Interface*>(std::calloc(1, sizeof(Interface)));
    interface->vtable = static_cast<PlugInIntfVTable*>(std::calloc(1, sizeof(PlugInIntfVTable)));
    *interface->vtable = {{Retain, Release, GetAPIVersion}, Prologue, Initialize, Sync, GetSummaryText, Open, Close, Terminate};
    interface->refCount = 1;
    *out = interface;
    result = S_OK;
  }
  CFRelease(dialogExtension);
  CFRelease(requested);
  return result;
}

void* MakeInstance(CFUUIDRef typeID, const char* factoryID, bool offersDialogExtension) {
  CFUUIDRef ourType = CFUUIDCreateFromString(kCFAllocatorDefault, CFSTR(kDialogExtensionTypeID));
  const bool wanted = CFEqual(typeID, ourType);
  CFRelease(ourType);
  if (!wanted) return nullptr;
  auto* instance = static_cast<Instance*>(std::calloc(1, sizeof(Instance)));
  instance->vtable = &instance->vtableStorage;
  instance->vtableStorage.QueryInterface = QueryInterface;
  instance->vtableStorage.AddRef = AddRef;
  instance->vtableStorage.Release = ReleaseInstance;
  CFStringRef factoryText = CFStringCreateWithCString(kCFAllocatorDefault, factoryID, kCFStringEncodingUTF8);
  instance->factoryID = CFUUIDCreateFromString(kCFAllocatorDefault, factoryText);
  CFRelease(factoryText);
  instance->refCount = 1;
  instance->offersDialogExtension = offersDialogExtension;
  CFPlugInAddInstanceForFactory(instance->factoryID);
  return instance;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) void* FixturePaneFactory(CFAllocatorRef, CFUUIDRef typeID) {
  return MakeInstance(typeID, kFactoryID, true);
}

extern "C" __attribute__((visibility("default"))) void* FixtureUnknownOnlyFactory(CFAllocatorRef, CFUUIDRef typeID) {
  return MakeInstance(typeID, kUnknownOnlyFactoryID, false);
}
