// The print dialog and the printing system as the pane meets them, for the
// pane's tests: the bundle loaded through CFPlugIn, the instance, the
// dialog-extension interface, the prologue, a dialog window with a user
// pane, a print session with a printer information ticket and a
// print-settings ticket, and the calls of the interface table.
#ifndef JOBLOG_PLUGIN_PRINTDIALOG_H
#define JOBLOG_PLUGIN_PRINTDIALOG_H

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "PluginTestSupport.h"

#define kPDETypeText "BDB091F4-E57F-11D3-B5CC-0050E4603277"
#define kPDEInterfaceText "A996FD7E-B738-11D3-8519-0050E4603277"
#define kMakeAndModelKey "com.apple.print.PrinterInfo.PMMakeAndModelName"

const OSType kJobLogSignature = 0x6A6C6F67;  // 'jlog'

class PrintDialog {
 public:
  // Loads the bundle; nothing is opened yet.
  explicit PrintDialog(const std::string& bundlePath) {
    type_.reset(CFUUIDCreateFromString(nullptr, CFSTR(kPDETypeText)));
    Owned<CFStringRef> path(MakeString(bundlePath));
    Owned<CFURLRef> url(CFURLCreateWithFileSystemPath(nullptr, path.get(), kCFURLPOSIXPathStyle, true));
    plugIn_.reset(CFPlugInCreate(nullptr, url.get()));
    session_ = SimCreatePrintSession();
    printerInfo_ = SimCreateTicket();
    settings_ = SimCreateTicket();
    SimSessionSetTicket(session_, CFSTR("PMPrintSettingsTicket"), settings_);
    const Rect dialogBounds = {40, 40, 600, 800};
    dialog_ = SimCreateWindow(&dialogBounds);
    const Rect paneBounds = {20, 20, 320, 560};
    userPane_ = SimCreateUserPane(dialog_, nullptr, &paneBounds);
  }

  ~PrintDialog() {
    Terminate();
    if (interface_ != nullptr) {
      PMPlugInHeaderInterface* header = reinterpret_cast<PMPlugInHeaderInterface*>(interface_);
      interface_->vtable->plugInHeader.Release(&header);
    }
    if (instance_ != nullptr) (*static_cast<IUnknownVTbl**>(instance_))->Release(instance_);
    if (title_ != nullptr) CFRelease(title_);
    DisposeWindow(dialog_);
    SimReleasePrintSession(session_);
    SimReleaseTicket(printerInfo_);
    SimReleaseTicket(settings_);
  }

  PrintDialog(const PrintDialog&) = delete;
  PrintDialog& operator=(const PrintDialog&) = delete;

  CFPlugInRef plugIn() const { return plugIn_.get(); }
  CFUUIDRef type() const { return type_.get(); }

  // The printer of the session (nullptr: no make-and-model entry).
  void SetPrinter(const char* makeAndModel) {
    if (makeAndModel != nullptr) {
      Owned<CFStringRef> name(MakeString(makeAndModel));
      PMTicketSetCFString(printerInfo_, CFSTR("com.zelvo.test"), CFSTR(kMakeAndModelKey), name.get(), false);
    }
    SimSessionSetTicket(session_, CFSTR("PMPrinterInfoTicket"), printerInfo_);
  }
  // An entry of the print-settings ticket, as the printing system keeps it.
  void SetSetting(const char* key, const char* value) {
    Owned<CFStringRef> k(MakeString(key)), v(MakeString(value));
    PMTicketSetCFString(settings_, CFSTR("com.zelvo.test"), k.get(), v.get(), false);
  }
  void SetSetting(const char* key, bool value) {
    Owned<CFStringRef> k(MakeString(key));
    PMTicketSetBoolean(settings_, CFSTR("com.zelvo.test"), k.get(), value, false);
  }

  // Factory, interface query and prologue, as the printing system does them.
  // False when any step fails.
  bool Load() {
    Owned<CFArrayRef> factories(CFPlugInFindFactoriesForPlugInType(type_.get()));
    if (factories.get() == nullptr || CFArrayGetCount(factories.get()) != 1) return false;
    factory_ = static_cast<CFUUIDRef>(CFArrayGetValueAtIndex(factories.get(), 0));
    CFRetain(factory_);
    factoryHolder_.reset(factory_);
    instance_ = CFPlugInInstanceCreate(nullptr, factory_, type_.get());
    if (instance_ == nullptr) return false;
    Owned<CFUUIDRef> interfaceID(CFUUIDCreateFromString(nullptr, CFSTR(kPDEInterfaceText)));
    LPVOID interface = nullptr;
    if ((*static_cast<IUnknownVTbl**>(instance_))->QueryInterface(
            instance_, CFUUIDGetUUIDBytes(interfaceID.get()), &interface) != S_OK) {
      return false;
    }
    interface_ = static_cast<PlugInIntf*>(interface);
    table_ = interface_->vtable;
    return table_->Prologue(&context_, &creator_, &kind_, &title_, &maxH_, &maxV_) == noErr;
  }

  // Load, then Initialize with the dialog's user pane; the result of
  // Initialize (or -1 when loading failed).
  OSStatus Open(const char* makeAndModel) {
    SetPrinter(makeAndModel);
    if (!Load()) return -1;
    return Initialize();
  }
  OSStatus Initialize() {
    PMPDEFlags flags = 0;
    return table_->Initialize(context_, &flags, nullptr, userPane_, session_);
  }

  OSStatus Show() { return table_->Open(context_); }
  OSStatus Hide() { return table_->Close(context_); }
  OSStatus Commit() { return table_->Sync(context_, session_, 0); }
  OSStatus Reload() { return table_->Sync(context_, session_, 1); }
  void Terminate() {
    if (context_ != nullptr) table_->Terminate(context_, noErr);
    context_ = nullptr;
  }

  // The summary as "title: value" lines.
  std::vector<std::string> Summary() {
    CFArrayRef titles = nullptr, values = nullptr;
    std::vector<std::string> lines;
    if (table_->GetSummaryText(context_, &titles, &values) != noErr) return {"<failed>"};
    EXPECT_EQ(CFArrayGetCount(titles), CFArrayGetCount(values)) << "the summary's arrays differ in length";
    for (CFIndex i = 0; i < CFArrayGetCount(titles) && i < CFArrayGetCount(values); ++i) {
      lines.push_back(Str(static_cast<CFStringRef>(CFArrayGetValueAtIndex(titles, i))) + ": " +
                      Str(static_cast<CFStringRef>(CFArrayGetValueAtIndex(values, i))));
    }
    CFRelease(titles);
    CFRelease(values);
    return lines;
  }

  // The control with the ID in the dialog; nullptr when there is none.
  ControlRef Control(SInt32 id) const {
    const ControlID controlID = {kJobLogSignature, id};
    ControlRef control = nullptr;
    GetControlByID(dialog_, &controlID, &control);
    return control;
  }
  static std::string TextOf(ControlRef control) { return Take(SimCopyControlText(control)); }

  // The print-settings ticket's entries as "key=value" ("key=true" for a
  // Boolean), in their order.
  std::vector<std::string> Settings() const {
    std::vector<std::string> entries;
    SimTicketEntry entry;
    for (CFIndex i = 0; SimTicketGetEntry(settings_, i, &entry); ++i) {
      std::string value = CFGetTypeID(entry.value) == CFBooleanGetTypeID()
                              ? (CFBooleanGetValue(static_cast<CFBooleanRef>(entry.value)) ? "true" : "false")
                              : Str(static_cast<CFStringRef>(entry.value));
      entries.push_back(Str(entry.key) + "=" + value);
    }
    return entries;
  }
  // One entry's value; "<none>" when absent.
  std::string Setting(const char* key) const {
    for (const std::string& entry : Settings()) {
      if (entry.compare(0, strlen(key) + 1, std::string(key) + "=") == 0) return entry.substr(strlen(key) + 1);
    }
    return "<none>";
  }

  // The alerts run so far: "message" each.
  static std::vector<std::string> Alerts() {
    std::vector<std::string> messages;
    SimAlertRecord alert;
    for (CFIndex i = 0; SimGetAlert(i, &alert); ++i) messages.push_back(Str(alert.message));
    return messages;
  }

  WindowRef dialog() const { return dialog_; }
  ControlRef userPane() const { return userPane_; }
  PMPrintSession session() const { return session_; }
  PMTicketRef settings() const { return settings_; }
  CFUUIDRef factory() const { return factory_; }
  const PlugInIntfVTable* table() const { return table_; }
  PMPDEContext context() const { return context_; }
  OSType creator() const { return creator_; }
  CFStringRef kind() const { return kind_; }
  CFStringRef title() const { return title_; }
  UInt32 maxH() const { return maxH_; }
  UInt32 maxV() const { return maxV_; }

 private:
  Owned<CFUUIDRef> type_;
  Owned<CFPlugInRef> plugIn_;
  Owned<CFUUIDRef> factoryHolder_;
  CFUUIDRef factory_ = nullptr;
  void* instance_ = nullptr;
  PlugInIntf* interface_ = nullptr;
  const PlugInIntfVTable* table_ = nullptr;
  PMPDEContext context_ = nullptr;
  OSType creator_ = 1;
  CFStringRef kind_ = nullptr;
  CFStringRef title_ = nullptr;
  UInt32 maxH_ = 0, maxV_ = 0;
  PMPrintSession session_ = nullptr;
  PMTicketRef printerInfo_ = nullptr;
  PMTicketRef settings_ = nullptr;
  WindowRef dialog_ = nullptr;
  ControlRef userPane_ = nullptr;
};

#endif
