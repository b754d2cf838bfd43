// The print dialog and the printing system around one dialog extension: the
// host loads the extension's bundle through CFPlugIn, opens the dialog for a
// printer as the printing system does, plays the user at the pane's controls,
// asks the pane to sync and to summarize, and turns the print-settings ticket
// into CUPS job options. Each command of the host's script is one call of Run.
#ifndef PDEHOST_DIALOGHOST_H
#define PDEHOST_DIALOGHOST_H

#include <string>
#include <vector>

#include "JobLogPlatform.h"

class DialogHost {
 public:
  // bundlePath: the bundle to load when no bundle command names one.
  explicit DialogHost(std::string bundlePath);
  // Terminates a pane that is still open and releases everything the host
  // holds: interface, instance, window, session, tickets and bundle.
  ~DialogHost();
  DialogHost(const DialogHost&) = delete;
  DialogHost& operator=(const DialogHost&) = delete;

  // Runs one command given as its words (the command name first). On success
  // appends the command's output lines, each ending in a newline, to *output
  // (the alerts the command caused come last) and returns true. Returns false,
  // with the reason in *problem, when the command cannot be run.
  bool Run(const std::vector<std::string>& words, std::string* output, std::string* problem);

 private:
  using Words = std::vector<std::string>;
  using Handler = bool (DialogHost::*)(const Words& arguments);
  struct Command {
    const char* name;
    size_t minArguments;
    size_t maxArguments;
    Handler handler;
  };
  static const Command kCommands[];

  // Where the dialog stands: never opened (or not since the last terminate
  // was cleared away), open, or terminated with its window still there.
  enum class Dialog { kNone, kOpen, kTerminated };

  bool Bundle(const Words& arguments);
  bool Printer(const Words& arguments);
  bool Ticket(const Words& arguments);
  bool Open(const Words& arguments);
  bool Close(const Words& arguments);
  bool Show(const Words& arguments);
  bool JobType(const Words& arguments);
  bool UserCode(const Words& arguments);
  bool Type(const Words& arguments);
  bool Key(const Words& arguments);
  bool Select(const Words& arguments);
  bool Paste(const Words& arguments);
  bool SetText(const Words& arguments);
  bool Commit(const Words& arguments);
  bool Reload(const Words& arguments);
  bool Summary(const Words& arguments);
  bool Options(const Words& arguments);
  bool Beeps(const Words& arguments);
  bool Terminate(const Words& arguments);

  bool LoadBundle(const std::string& path);
  bool CreateInstance(std::string* factoryText);
  void MakeDialogWindow(UInt32 maxH, UInt32 maxV, CFStringRef makeAndModel);
  // Terminate (when the pane has a context), then the interface's and the
  // instance's releases. Returns whether Terminate was called.
  bool TerminatePane(OSStatus* result);
  void DisposeDialogWindow();

  bool RequireOpenDialog();
  bool RequirePane();
  // The control 'jlog' idText of the dialog, or NULL with the problem set.
  ControlRef FindControl(const std::string& idText);
  ControlRef FindEditText(const std::string& idText);
  std::string FocusName();
  std::string FieldState(ControlRef control);
  std::string DescribeControl(ControlRef control);

  void Line(const std::string& line);
  bool Fail(const std::string& problem);

  std::string mBundlePath;
  CFPlugInRef mBundle = nullptr;
  PMTicketRef mSettings = nullptr;  // the print settings, kept across dialogs

  Dialog mDialog = Dialog::kNone;
  void* mInstance = nullptr;        // the factory's IUnknown instance
  CFUUIDRef mFactoryID = nullptr;   // the factory that made it
  PlugInIntf* mInterface = nullptr; // the dialog-extension interface
  PMPDEContext mContext = nullptr;  // the pane, from the prologue
  bool mHasContext = false;
  PMPrintSession mSession = nullptr;
  WindowRef mWindow = nullptr;
  ControlRef mUserPane = nullptr;

  std::string mOutput;
  std::string mProblem;
};

#endif
