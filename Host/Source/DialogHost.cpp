// The dialog host's commands: loading the bundle, opening the dialog for a
// printer, the user at the pane's controls, the pane's sync and summary, and
// the print-settings ticket as job options.
#include "DialogHost.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <strings.h>

#include "JobOptions.h"
#include "PlatformSimulation.h"
#include "TextFormat.h"

namespace {

// The dialog-extension plug-in type that the printing system asks factories
// for, and the interface it then asks the instance for.
#define kDialogExtensionTypeID "BDB091F4-E57F-11D3-B5CC-0050E4603277"
#define kDialogExtensionInterfaceID "A996FD7E-B738-11D3-8519-0050E4603277"

#define kMakeAndModelKey "com.apple.print.PrinterInfo.PMMakeAndModelName"
#define kHostClientID "pdehost"
const char kBooleanSuffix[] = "..b.";

// The pane's controls are found by this signature and their ID numbers; the
// job type popup and the user code checkbox have fixed numbers.
const OSType kPaneSignature = 0x6A6C6F67;  // 'jlog'
const char kJobTypePopupID[] = "2";
const char kUserCodeCheckBoxID[] = "4";

// The host's window, and the pane's size when the prologue gives none.
const Rect kWindowBounds = {44, 0, 644, 800};
const SInt16 kDefaultPaneWidth = 400;
const SInt16 kDefaultPaneHeight = 300;

struct EditKey {
  const char* name;
  UniChar charCode;
  EventModifiers modifiers;
};

const EditKey kEditKeys[] = {
    {"backspace", kBackspaceCharCode, 0},  {"delete", kDeleteCharCode, 0},
    {"left", kLeftArrowCharCode, 0},       {"right", kRightArrowCharCode, 0},
    {"up", kUpArrowCharCode, 0},           {"down", kDownArrowCharCode, 0},
    {"home", kHomeCharCode, 0},            {"end", kEndCharCode, 0},
    {"tab", kTabCharCode, 0},              {"shift-tab", kTabCharCode, shiftKey},
    {"return", kReturnCharCode, 0},        {"escape", kEscapeCharCode, 0},
    {"cmd-a", u'a', cmdKey},               {"cmd-v", u'v', cmdKey},
};

const char kNoDialog[] = "no dialog is open (printer opens one)";

IUnknownVTbl* UnknownTable(void* instance) { return *static_cast<IUnknownVTbl**>(instance); }

PMPlugInHeaderInterface* HeaderOf(PlugInIntf* interface) {
  return reinterpret_cast<PMPlugInHeaderInterface*>(interface);
}

std::string Number(long value) { return std::to_string(value); }

std::string QuoteUTF8(const std::string& text) {
  std::u16string units;
  DecodeUTF8(text, &units);
  return Quote(units);
}

std::string CreateUUIDText(CFUUIDRef uuid) {
  CFStringRef string = CFUUIDCreateString(kCFAllocatorDefault, uuid);
  std::string text;
  EncodeUTF8(UnitsOf(string), &text);
  CFRelease(string);
  return text;
}

// A whole decimal number within [minimum, maximum].
bool ParseNumber(const std::string& text, long minimum, long maximum, long* value) {
  if (text.empty()) return false;
  char* end = nullptr;
  errno = 0;
  const long parsed = std::strtol(text.c_str(), &end, 10);
  if (errno != 0 || *end != '\0' || parsed < minimum || parsed > maximum) return false;
  *value = parsed;
  return true;
}

const char* KindName(SimControlKind kind) {
  switch (kind) {
    case kSimControlRoot: return "root";
    case kSimControlUserPane: return "pane";
    case kSimControlEditText: return "edit";
    case kSimControlPasswordEditText: return "password";
    case kSimControlStaticText: return "static";
    case kSimControlPopupButton: return "popup";
    case kSimControlCheckBox: return "checkbox";
  }
  return "unknown";
}

const char* AlertTypeName(AlertType type) {
  switch (type) {
    case kAlertStopAlert: return "stop";
    case kAlertNoteAlert: return "note";
    case kAlertCautionAlert: return "caution";
    case kAlertPlainAlert: return "plain";
  }
  return "unknown";
}

// The text a person sees in the control: a password edit text shows its
// bullets, as the toolkit gives them to anyone but the password's owner, and
// a popup button its chosen item.
std::string VisibleText(ControlRef control) {
  CFStringRef text = nullptr;
  if (SimGetControlKind(control) == kSimControlPopupButton) {
    text = SimCopyMenuItemText(GetControlPopupMenuHandle(control), static_cast<MenuItemIndex>(GetControlValue(control)));
  } else if (SimGetControlKind(control) == kSimControlPasswordEditText) {
    if (GetControlData(control, kControlEntireControl, kControlEditTextCFStringTag, sizeof text, &text,
                       nullptr) != noErr) {
      text = nullptr;
    }
  } else {
    text = SimCopyControlText(control);
  }
  std::string quoted = Quote(text);
  if (text != nullptr) CFRelease(text);
  return quoted;
}

std::string ArrayItem(CFArrayRef array, CFIndex count, CFIndex index) {
  if (index >= count) return "none";
  CFTypeRef item = CFArrayGetValueAtIndex(array, index);
  if (item == nullptr || CFGetTypeID(item) != CFStringGetTypeID()) return "invalid";
  return Quote(static_cast<CFStringRef>(item));
}

CFIndex ArrayCount(CFArrayRef array) {
  return array != nullptr && CFGetTypeID(array) == CFArrayGetTypeID() ? CFArrayGetCount(array) : 0;
}

void CollectControls(ControlRef parent, std::vector<ControlRef>* controls) {
  UInt16 count = 0;
  if (CountSubControls(parent, &count) != noErr) return;
  for (UInt16 index = 1; index <= count; ++index) {
    ControlRef child = nullptr;
    if (GetIndexedSubControl(parent, index, &child) != noErr) continue;
    controls->push_back(child);
    CollectControls(child, controls);
  }
}

}  // namespace

const DialogHost::Command DialogHost::kCommands[] = {
    {"bundle", 1, 1, &DialogHost::Bundle},     {"printer", 0, 1, &DialogHost::Printer},
    {"ticket", 1, 1, &DialogHost::Ticket},     {"open", 0, 0, &DialogHost::Open},
    {"close", 0, 0, &DialogHost::Close},       {"show", 0, 0, &DialogHost::Show},
    {"jobtype", 1, 1, &DialogHost::JobType},   {"usercode", 1, 1, &DialogHost::UserCode},
    {"type", 2, 2, &DialogHost::Type},         {"key", 2, 2, &DialogHost::Key},
    {"select", 3, 3, &DialogHost::Select},     {"paste", 2, 2, &DialogHost::Paste},
    {"settext", 2, 2, &DialogHost::SetText},
    {"commit", 0, 0, &DialogHost::Commit},     {"reload", 0, 0, &DialogHost::Reload},
    {"summary", 0, 0, &DialogHost::Summary},   {"options", 0, 0, &DialogHost::Options},
    {"beeps", 0, 0, &DialogHost::Beeps},       {"terminate", 0, 0, &DialogHost::Terminate},
};

DialogHost::DialogHost(std::string bundlePath) : mBundlePath(std::move(bundlePath)), mSettings(SimCreateTicket()) {}

DialogHost::~DialogHost() {
  OSStatus ignored;
  if (mDialog == Dialog::kOpen) TerminatePane(&ignored);
  DisposeDialogWindow();
  SimReleaseTicket(mSettings);
  if (mBundle != nullptr) CFRelease(mBundle);
}

bool DialogHost::Run(const Words& words, std::string* output, std::string* problem) {
  mOutput.clear();
  mProblem.clear();
  if (words.empty()) {
    *problem = "no command";
    return false;
  }
  const Command* command = nullptr;
  for (const Command& candidate : kCommands) {
    if (words[0] == candidate.name) command = &candidate;
  }
  if (command == nullptr) {
    *problem = "unknown command " + QuoteUTF8(words[0]);
    return false;
  }
  const Words arguments(words.begin() + 1, words.end());
  if (arguments.size() < command->minArguments || arguments.size() > command->maxArguments) {
    *problem = std::string(command->name) + " takes " + Number(static_cast<long>(command->minArguments)) +
               (command->minArguments == command->maxArguments
                    ? ""
                    : " to " + Number(static_cast<long>(command->maxArguments))) +
               " argument" + (command->maxArguments == 1 ? "" : "s") + " (quote a text with blanks)";
    return false;
  }

  const CFIndex alertsBefore = SimGetAlertCount();
  if (!(this->*command->handler)(arguments)) {
    *problem = mProblem;
    return false;
  }
  // Every alert that the command brought up, in the order they ran.
  for (CFIndex index = alertsBefore; index < SimGetAlertCount(); ++index) {
    SimAlertRecord alert;
    if (!SimGetAlert(index, &alert)) continue;
    char position[16];
    std::snprintf(position, sizeof position, "0x%04X", static_cast<unsigned>(alert.position));
    Line(std::string("alert type=") + AlertTypeName(alert.type) + " message=" + Quote(alert.message) +
         " explanation=" + Quote(alert.explanation) + " movable=" + (alert.movable ? "yes" : "no") +
         " position=" + position);
  }
  *output += mOutput;
  return true;
}

// ---- The bundle and the dialog ----

bool DialogHost::Bundle(const Words& arguments) {
  if (mDialog == Dialog::kOpen) return Fail("the dialog is open; terminate it before changing the bundle");
  if (!LoadBundle(arguments[0])) return false;
  CFUUIDRef type = CFUUIDCreateFromString(kCFAllocatorDefault, CFSTR(kDialogExtensionTypeID));
  CFArrayRef factories = CFPlugInFindFactoriesForPlugInType(type);
  const CFIndex count = CFArrayGetCount(factories);
  CFRelease(factories);
  CFRelease(type);
  Line("bundle identifier=" + Quote(CFBundleGetIdentifier(mBundle)) + " factories=" + Number(count));
  return true;
}

bool DialogHost::LoadBundle(const std::string& path) {
  CFStringRef pathString = CreateStringFromUTF8(path);
  CFURLRef url = pathString != nullptr
                     ? CFURLCreateWithFileSystemPath(kCFAllocatorDefault, pathString, kCFURLPOSIXPathStyle, true)
                     : nullptr;
  if (pathString != nullptr) CFRelease(pathString);
  CFPlugInRef plugIn = url != nullptr ? CFPlugInCreate(kCFAllocatorDefault, url) : nullptr;
  if (url != nullptr) CFRelease(url);
  if (plugIn == nullptr) return Fail("cannot load the bundle " + path + " (no directory with Contents/Info.plist there)");
  // Loading the same bundle again gives the same object: release the old
  // reference only after taking the new one.
  if (mBundle != nullptr) CFRelease(mBundle);
  mBundle = plugIn;
  mBundlePath = path;
  return true;
}

bool DialogHost::Printer(const Words& arguments) {
  if (mDialog == Dialog::kOpen) return Fail("a dialog is open already; terminate it first");
  if (mBundle == nullptr && !LoadBundle(mBundlePath)) return false;
  DisposeDialogWindow();

  std::string factoryText;
  if (!CreateInstance(&factoryText)) return false;
  CFUUIDRef interfaceID = CFUUIDCreateFromString(kCFAllocatorDefault, CFSTR(kDialogExtensionInterfaceID));
  void* interface = nullptr;
  const HRESULT queried = UnknownTable(mInstance)->QueryInterface(mInstance, CFUUIDGetUUIDBytes(interfaceID), &interface);
  CFRelease(interfaceID);
  if (FAILED(queried) || interface == nullptr) {
    UnknownTable(mInstance)->Release(mInstance);
    mInstance = nullptr;
    CFRelease(mFactoryID);
    mFactoryID = nullptr;
    char code[16];
    std::snprintf(code, sizeof code, "0x%08X", static_cast<unsigned>(queried));
    return Fail(std::string("the instance gives no dialog-extension interface (QueryInterface answered ") + code + ")");
  }
  mInterface = static_cast<PlugInIntf*>(interface);
  mDialog = Dialog::kOpen;
  std::string line = "printer factory=" + factoryText;

  PMPlugInAPIVersion version = {};
  if (mInterface->vtable->plugInHeader.GetAPIVersion(HeaderOf(mInterface), &version) == noErr) {
    line += " api=" + Number(version.buildVersionMajor) + "." + Number(version.buildVersionMinor) + "/" +
            Number(version.baseVersionMajor) + "." + Number(version.baseVersionMinor);
  } else {
    line += " api=none";
  }

  // The prologue names the pane; what it hands out belongs to the dialog.
  PMPDEContext context = nullptr;
  OSType creator = 0;
  CFStringRef kind = nullptr;
  CFStringRef title = nullptr;
  UInt32 maxH = 0;
  UInt32 maxV = 0;
  const OSStatus prologue = mInterface->vtable->Prologue(&context, &creator, &kind, &title, &maxH, &maxV);
  line += " prologue=" + Number(prologue);
  if (prologue == noErr) {
    mContext = context;
    mHasContext = true;
    line += " title=" + Quote(title) + " kind=" + Quote(kind) + " creator=" + FourCharCodeText(creator) +
            " maxh=" + Number(maxH) + " maxv=" + Number(maxV);
  }
  if (title != nullptr) CFRelease(title);
  if (kind != nullptr) CFRelease(kind);
  if (prologue != noErr) {
    Line(line);
    return true;
  }

  CFStringRef makeAndModel = nullptr;
  if (!arguments.empty()) makeAndModel = CreateStringFromUTF8(arguments[0]);
  MakeDialogWindow(maxH, maxV, makeAndModel);
  if (makeAndModel != nullptr) CFRelease(makeAndModel);

  PMPDEFlags flags = 0;
  const OSStatus initialized = mInterface->vtable->Initialize(mContext, &flags, nullptr, mUserPane, mSession);
  Line(line + " initialize=" + Number(initialized));
  return true;
}

// The first factory registered for the dialog-extension type that makes an
// instance, as the printing system looks for one.
bool DialogHost::CreateInstance(std::string* factoryText) {
  CFUUIDRef type = CFUUIDCreateFromString(kCFAllocatorDefault, CFSTR(kDialogExtensionTypeID));
  CFArrayRef factories = CFPlugInFindFactoriesForPlugInType(type);
  const CFIndex count = CFArrayGetCount(factories);
  for (CFIndex index = 0; index < count && mInstance == nullptr; ++index) {
    auto factory = static_cast<CFUUIDRef>(CFArrayGetValueAtIndex(factories, index));
    mInstance = CFPlugInInstanceCreate(kCFAllocatorDefault, factory, type);
    if (mInstance != nullptr) {
      mFactoryID = static_cast<CFUUIDRef>(CFRetain(factory));
      *factoryText = CreateUUIDText(factory);
    }
  }
  CFRelease(factories);
  CFRelease(type);
  if (mInstance != nullptr) return true;
  return Fail(count == 0 ? "the bundle registers no factory for the dialog-extension type"
                         : "no factory of the bundle made an instance");
}

// The print session with the printer's information and the print settings,
// and a window with the user pane the pane's controls go into. The user pane
// stays hidden until the pane is opened.
void DialogHost::MakeDialogWindow(UInt32 maxH, UInt32 maxV, CFStringRef makeAndModel) {
  mSession = SimCreatePrintSession();
  PMTicketRef printerInfo = SimCreateTicket();
  if (makeAndModel != nullptr) {
    PMTicketSetCFString(printerInfo, CFSTR(kHostClientID), CFSTR(kMakeAndModelKey), makeAndModel, false);
  }
  SimSessionSetTicket(mSession, CFSTR("PMPrinterInfoTicket"), printerInfo);
  SimReleaseTicket(printerInfo);
  SimSessionSetTicket(mSession, CFSTR("PMPrintSettingsTicket"), mSettings);

  mWindow = SimCreateWindow(&kWindowBounds);
  const SInt16 width = maxH > 0 && maxH <= 800 ? static_cast<SInt16>(maxH) : kDefaultPaneWidth;
  const SInt16 height = maxV > 0 && maxV <= 600 ? static_cast<SInt16>(maxV) : kDefaultPaneHeight;
  const Rect paneBounds = {0, 0, height, width};
  mUserPane = SimCreateUserPane(mWindow, nullptr, &paneBounds);
  SetControlVisibility(mUserPane, false, false);
}

bool DialogHost::Terminate(const Words&) {
  if (!RequireOpenDialog()) return false;
  CFUUIDRef factory = static_cast<CFUUIDRef>(CFRetain(mFactoryID));
  OSStatus result = noErr;
  const bool called = TerminatePane(&result);
  const long instances = SimGetFactoryInstanceCount(factory);
  CFRelease(factory);
  Line("terminate result=" + (called ? Number(result) : std::string("none")) + " instances=" + Number(instances));
  return true;
}

bool DialogHost::TerminatePane(OSStatus* result) {
  const bool called = mHasContext;
  if (mHasContext) *result = mInterface->vtable->Terminate(mContext, noErr);
  mHasContext = false;
  mContext = nullptr;
  PMPlugInHeaderInterface* header = HeaderOf(mInterface);
  mInterface->vtable->plugInHeader.Release(&header);
  mInterface = nullptr;
  UnknownTable(mInstance)->Release(mInstance);
  mInstance = nullptr;
  CFRelease(mFactoryID);
  mFactoryID = nullptr;
  // The window stays, as the dialog's does, but no input reaches it any more:
  // the pane's handlers may still sit on its controls.
  mDialog = Dialog::kTerminated;
  return called;
}

void DialogHost::DisposeDialogWindow() {
  if (mWindow != nullptr) DisposeWindow(mWindow);
  if (mSession != nullptr) SimReleasePrintSession(mSession);
  mWindow = nullptr;
  mUserPane = nullptr;
  mSession = nullptr;
  mDialog = Dialog::kNone;
}

// ---- The print settings ----

bool DialogHost::Ticket(const Words& arguments) {
  const std::string& entry = arguments[0];
  const size_t equals = entry.find('=');
  if (equals == std::string::npos || equals == 0) return Fail("ticket takes KEY=VALUE");
  std::string key = entry.substr(0, equals);
  const std::string value = entry.substr(equals + 1);
  const size_t suffixLength = std::strlen(kBooleanSuffix);
  const bool isBoolean = key.size() > suffixLength && key.compare(key.size() - suffixLength, suffixLength, kBooleanSuffix) == 0;
  if (isBoolean) key.erase(key.size() - suffixLength);
  if (isBoolean && strcasecmp(value.c_str(), "true") != 0 && strcasecmp(value.c_str(), "false") != 0) {
    return Fail("a Boolean entry takes True or False, not " + QuoteUTF8(value));
  }

  CFStringRef keyString = CreateStringFromUTF8(key);
  CFStringRef valueString = isBoolean ? nullptr : CreateStringFromUTF8(value);
  if (keyString == nullptr || (!isBoolean && valueString == nullptr)) {
    if (keyString != nullptr) CFRelease(keyString);
    if (valueString != nullptr) CFRelease(valueString);
    return Fail("a ticket entry cannot hold NUL");
  }
  const bool on = strcasecmp(value.c_str(), "true") == 0;
  const OSStatus status = isBoolean ? PMTicketSetBoolean(mSettings, CFSTR(kHostClientID), keyString, on, false)
                                    : PMTicketSetCFString(mSettings, CFSTR(kHostClientID), keyString, valueString, false);
  CFRelease(keyString);
  if (valueString != nullptr) CFRelease(valueString);
  if (status != noErr) return Fail("the ticket refused the entry (" + Number(status) + ")");
  Line("ticket key=" + QuoteUTF8(key) + (isBoolean ? std::string(" type=boolean value=") + (on ? "True" : "False")
                                                   : " type=string value=" + QuoteUTF8(value)));
  return true;
}

bool DialogHost::Options(const Words&) {
  std::vector<JobOption> options;
  std::string line;
  if (!JobOptionsFromTicket(mSettings, &options, &mProblem)) return false;
  if (!FormatJobOptions(options, &line, &mProblem)) return false;
  if (line.find_first_of("\r\n") != std::string::npos) {
    return Fail("a ticket value holds a line break, which the one-line options output cannot carry");
  }
  Line(line.empty() ? "options" : "options " + line);
  return true;
}

// ---- The pane ----

bool DialogHost::Open(const Words&) {
  if (!RequirePane()) return false;
  if (mUserPane != nullptr) SetControlVisibility(mUserPane, true, true);
  Line("open result=" + Number(mInterface->vtable->Open(mContext)));
  return true;
}

bool DialogHost::Close(const Words&) {
  if (!RequirePane()) return false;
  const OSStatus result = mInterface->vtable->Close(mContext);
  if (mUserPane != nullptr) {
    SetControlVisibility(mUserPane, false, true);
    SetKeyboardFocus(mWindow, nullptr, kControlFocusNoPart);
  }
  Line("close result=" + Number(result));
  return true;
}

bool DialogHost::Commit(const Words&) {
  if (!RequirePane()) return false;
  const CFIndex alertsBefore = SimGetAlertCount();
  const OSStatus result = mInterface->vtable->Sync(mContext, mSession, false);
  Line("commit result=" + Number(result) + " alerts=" + Number(SimGetAlertCount() - alertsBefore));
  return true;
}

bool DialogHost::Reload(const Words&) {
  if (!RequirePane()) return false;
  Line("reload result=" + Number(mInterface->vtable->Sync(mContext, mSession, true)));
  return true;
}

bool DialogHost::Summary(const Words&) {
  if (!RequirePane()) return false;
  CFArrayRef titles = nullptr;
  CFArrayRef values = nullptr;
  const OSStatus result = mInterface->vtable->GetSummaryText(mContext, &titles, &values);
  const CFIndex titleCount = ArrayCount(titles);
  const CFIndex valueCount = ArrayCount(values);
  Line("summary result=" + Number(result) + " titles=" + Number(titleCount) + " values=" + Number(valueCount));
  for (CFIndex index = 0; index < std::max(titleCount, valueCount); ++index) {
    Line("pair " + ArrayItem(titles, titleCount, index) + ": " + ArrayItem(values, valueCount, index));
  }
  if (titles != nullptr) CFRelease(titles);
  if (values != nullptr) CFRelease(values);
  return true;
}

bool DialogHost::Show(const Words&) {
  if (mDialog == Dialog::kNone) return Fail(kNoDialog);
  std::vector<ControlRef> controls;
  if (mUserPane != nullptr) CollectControls(mUserPane, &controls);
  Line("show controls=" + Number(static_cast<long>(controls.size())) + " focus=" + FocusName());
  for (ControlRef control : controls) Line("control " + DescribeControl(control));
  return true;
}

// ---- The user ----

bool DialogHost::JobType(const Words& arguments) {
  if (!RequireOpenDialog()) return false;
  long item = 0;
  if (!ParseNumber(arguments[0], 1, 32767, &item)) return Fail("jobtype takes an item number from 1");
  ControlRef popup = FindControl(kJobTypePopupID);
  if (popup == nullptr) return false;
  if (SimGetControlKind(popup) != kSimControlPopupButton) return Fail("control 2 is not a popup button");
  const UInt16 items = SimCountMenuItems(GetControlPopupMenuHandle(popup));
  if (item > items) return Fail("the job type menu has items 1 to " + Number(items));
  const OSStatus result = SimChoosePopupItem(popup, static_cast<MenuItemIndex>(item));
  Line("jobtype item=" + Number(item) + " result=" + Number(result) + " value=" + Number(GetControlValue(popup)) +
       " text=" + VisibleText(popup));
  return true;
}

bool DialogHost::UserCode(const Words& arguments) {
  if (!RequireOpenDialog()) return false;
  if (arguments[0] != "on" && arguments[0] != "off") return Fail("usercode takes on or off");
  ControlRef checkBox = FindControl(kUserCodeCheckBoxID);
  if (checkBox == nullptr) return false;
  if (SimGetControlKind(checkBox) != kSimControlCheckBox) return Fail("control 4 is not a checkbox");
  // A click toggles; a checkbox already in the state asked for is left alone.
  const bool wanted = arguments[0] == "on";
  if ((GetControlValue(checkBox) != 0) == wanted) {
    Line("usercode value=" + Number(GetControlValue(checkBox)) + " clicked=no");
    return true;
  }
  const OSStatus result = SimClickCheckBox(checkBox);
  Line("usercode value=" + Number(GetControlValue(checkBox)) + " clicked=yes result=" + Number(result));
  return true;
}

bool DialogHost::Type(const Words& arguments) {
  if (!RequireOpenDialog()) return false;
  ControlRef field = FindEditText(arguments[0]);
  if (field == nullptr) return false;
  std::u16string units;
  DecodeUTF8(arguments[1], &units);
  long applied = 0, blocked = 0, ignored = 0;
  for (char16_t unit : units) {
    switch (SimTypeKey(field, unit, 0)) {
      case kSimKeyApplied: ++applied; break;
      case kSimKeyBlocked: ++blocked; break;
      case kSimKeyIgnored: ++ignored; break;
    }
  }
  Line("type id=" + arguments[0] + " keys=" + Number(static_cast<long>(units.size())) + " applied=" + Number(applied) +
       " blocked=" + Number(blocked) + " ignored=" + Number(ignored) + " " + FieldState(field));
  return true;
}

bool DialogHost::Key(const Words& arguments) {
  if (!RequireOpenDialog()) return false;
  const EditKey* key = nullptr;
  std::string names;
  for (const EditKey& candidate : kEditKeys) {
    if (arguments[1] == candidate.name) key = &candidate;
    names += std::string(names.empty() ? "" : ", ") + candidate.name;
  }
  if (key == nullptr) return Fail("unknown key " + QuoteUTF8(arguments[1]) + " (known: " + names + ")");
  ControlRef field = FindEditText(arguments[0]);
  if (field == nullptr) return false;
  const char* result = "applied";
  switch (SimTypeKey(field, key->charCode, key->modifiers)) {
    case kSimKeyApplied: break;
    case kSimKeyBlocked: result = "blocked"; break;
    case kSimKeyIgnored: result = "ignored"; break;
  }
  Line("key id=" + arguments[0] + " name=" + key->name + " result=" + result + " " + FieldState(field));
  return true;
}

bool DialogHost::Select(const Words& arguments) {
  if (!RequireOpenDialog()) return false;
  long start = 0, end = 0;
  if (!ParseNumber(arguments[1], 0, 32767, &start) || !ParseNumber(arguments[2], 0, 32767, &end)) {
    return Fail("select takes a start and an end from 0 to 32767");
  }
  ControlRef field = FindEditText(arguments[0]);
  if (field == nullptr) return false;
  const ControlEditTextSelectionRec selection = {static_cast<SInt16>(start), static_cast<SInt16>(end)};
  const OSErr result = SetControlData(field, kControlEntireControl, kControlEditTextSelectionTag, sizeof selection, &selection);
  Line("select id=" + arguments[0] + " result=" + Number(result) + " " + FieldState(field));
  return true;
}

// The text goes on the scrap as the toolkit's plain text, Mac OS Roman. Text
// that has no such form leaves the scrap without plain text, and the paste
// then finds nothing to insert, as with a scrap of pictures.
bool DialogHost::Paste(const Words& arguments) {
  if (!RequireOpenDialog()) return false;
  ControlRef field = FindEditText(arguments[0]);
  if (field == nullptr) return false;
  const bool hasText = SimSetScrapTextUTF8(arguments[1].c_str());
  if (!hasText) SimClearScrap();
  OSStatus result = paramErr;  // the toolkit pastes only into a field that takes input
  if (IsControlEnabled(field) && IsControlVisible(field)) {
    SetKeyboardFocus(mWindow, field, kControlEditTextPart);
    result = SimSendCommand(field, kHICommandPaste);
  }
  Line("paste id=" + arguments[0] + " scrap=" + (hasText ? "text" : "none") + " result=" + Number(result) + " " +
       FieldState(field));
  return true;
}

// Not the user: the text goes in as a program puts it there, past the key
// filter and the length limit, for values no user could type.
bool DialogHost::SetText(const Words& arguments) {
  if (!RequireOpenDialog()) return false;
  ControlRef field = FindEditText(arguments[0]);
  if (field == nullptr) return false;
  CFStringRef text = CreateStringFromUTF8(arguments[1]);
  const ResType tag = SimGetControlKind(field) == kSimControlPasswordEditText ? kControlEditTextPasswordCFStringTag
                                                                             : kControlEditTextCFStringTag;
  const OSErr result = SetControlData(field, kControlEntireControl, tag, sizeof text, &text);
  CFRelease(text);
  Line("settext id=" + arguments[0] + " result=" + Number(result) + " " + FieldState(field));
  return true;
}

bool DialogHost::Beeps(const Words&) {
  Line("beeps count=" + Number(SimGetBeepCount()));
  return true;
}

// ---- Helpers ----

bool DialogHost::RequireOpenDialog() {
  if (mDialog == Dialog::kOpen) return true;
  return Fail(mDialog == Dialog::kTerminated ? "the pane was terminated; nothing reaches it any more" : kNoDialog);
}

bool DialogHost::RequirePane() {
  if (!RequireOpenDialog()) return false;
  if (!mHasContext) return Fail("the pane has no context: its prologue failed");
  return true;
}

ControlRef DialogHost::FindControl(const std::string& idText) {
  long id = 0;
  if (!ParseNumber(idText, -2147483647L - 1, 2147483647L, &id)) {
    Fail("a control ID is a number, not " + QuoteUTF8(idText));
    return nullptr;
  }
  const ControlID controlID = {kPaneSignature, static_cast<SInt32>(id)};
  ControlRef control = nullptr;
  if (mWindow == nullptr || GetControlByID(mWindow, &controlID, &control) != noErr) {
    Fail("the dialog has no control " + idText);
    return nullptr;
  }
  return control;
}

ControlRef DialogHost::FindEditText(const std::string& idText) {
  ControlRef control = FindControl(idText);
  if (control == nullptr) return nullptr;
  const SimControlKind kind = SimGetControlKind(control);
  if (kind != kSimControlEditText && kind != kSimControlPasswordEditText) {
    Fail("control " + idText + " is not an edit text");
    return nullptr;
  }
  return control;
}

std::string DialogHost::FocusName() {
  ControlRef focus = nullptr;
  if (mWindow == nullptr || GetKeyboardFocus(mWindow, &focus) != noErr || focus == nullptr) return "none";
  return Number(SimGetControlID(focus).id);
}

std::string DialogHost::FieldState(ControlRef field) {
  const ControlEditTextSelectionRec selection = SimGetControlSelection(field);
  return "text=" + VisibleText(field) + " selection=" + Number(selection.selStart) + "-" + Number(selection.selEnd) +
         " focus=" + FocusName();
}

std::string DialogHost::DescribeControl(ControlRef control) {
  const ControlID id = SimGetControlID(control);
  const SimControlKind kind = SimGetControlKind(control);
  ControlRef focus = nullptr;
  GetKeyboardFocus(mWindow, &focus);
  std::string line = "id=" + Number(id.id) + " signature=" + FourCharCodeText(id.signature) + " kind=" + KindName(kind) +
                     " enabled=" + (IsControlEnabled(control) ? "yes" : "no") +
                     " visible=" + (IsControlVisible(control) ? "yes" : "no") +
                     " focus=" + (control == focus ? "yes" : "no");
  switch (kind) {
    case kSimControlEditText:
    case kSimControlPasswordEditText: {
      const ControlEditTextSelectionRec selection = SimGetControlSelection(control);
      return line + " text=" + VisibleText(control) + " selection=" + Number(selection.selStart) + "-" +
             Number(selection.selEnd);
    }
    case kSimControlStaticText:
      return line + " text=" + VisibleText(control);
    case kSimControlPopupButton:
      return line + " value=" + Number(GetControlValue(control)) + " item=" + VisibleText(control) +
             " items=" + Number(SimCountMenuItems(GetControlPopupMenuHandle(control)));
    case kSimControlCheckBox:
      return line + " value=" + Number(GetControlValue(control)) + " title=" + VisibleText(control);
    default:
      return line;
  }
}

void DialogHost::Line(const std::string& line) { mOutput += line + "\n"; }

bool DialogHost::Fail(const std::string& problem) {
  mProblem = problem;
  return false;
}
