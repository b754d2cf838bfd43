// Helpers of the dialog extension's tests, beside the shared ones: small
// bundles in temporary directories.
#ifndef JOBLOG_PLUGIN_TESTSUPPORT_H
#define JOBLOG_PLUGIN_TESTSUPPORT_H

#include "StandInTest.h"

// A bundle directory X.bundle in a temporary directory with an Info.plist
// naming the identifier; resources are added with Write.
class TempBundle {
 public:
  explicit TempBundle(const std::string& identifier) {
    dir_.Write("X.bundle/Contents/Info.plist",
               "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>\n"
               "<key>CFBundleIdentifier</key><string>" + identifier + "</string>\n"
               "<key>CFBundleDevelopmentRegion</key><string>en</string>\n</dict></plist>\n");
  }
  // Writes a file under Contents/Resources/.
  void WriteResource(const std::string& relative, const std::string& bytes) const {
    dir_.Write("X.bundle/Contents/Resources/" + relative, bytes);
  }
  std::string path() const { return dir_.path() + "/X.bundle"; }

 private:
  TempDir dir_;
};

#endif
