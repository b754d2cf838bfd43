// CPluginData: the printer models the pane supports, read from the bundle's
// PluginData.plist: a dictionary whose "Models" array holds one dictionary
// per model with its "ModelName" and its capabilities.
#ifndef JOBLOG_CPLUGINDATA_H
#define JOBLOG_CPLUGINDATA_H

#include "JobLogPlatform.h"

class CPluginData {
 public:
  // Reads and parses the resource; without one the object holds no data.
  explicit CPluginData(CFBundleRef pluginBundleRef);
  virtual ~CPluginData();

  CPluginData(const CPluginData&) = delete;
  CPluginData& operator=(const CPluginData&) = delete;

  // The first model entry whose "ModelName" equals modelNameRef exactly;
  // borrowed, valid while this object lives. NULL when none does.
  CFDictionaryRef GetModelInfo(CFStringRef modelNameRef);

 protected:
  CFDictionaryRef mDataDictRef;
};

#endif
