// CPluginData: the bundle's model list, parsed once per object, and the
// lookup of a model by its make-and-model name.
#include "CPluginData.h"

namespace {

Boolean IsOfType(CFTypeRef value, CFTypeID type) {
  return value != NULL && CFGetTypeID(value) == type;
}

}  // namespace

CPluginData::CPluginData(CFBundleRef pluginBundleRef) : mDataDictRef(NULL) {
  if (pluginBundleRef == NULL) return;
  CFURLRef url = CFBundleCopyResourceURL(pluginBundleRef, CFSTR("PluginData"), CFSTR("plist"), NULL);
  if (url == NULL) return;

  CFDataRef data = NULL;
  const Boolean read =
      CFURLCreateDataAndPropertiesFromResource(kCFAllocatorDefault, url, &data, NULL, NULL, NULL);
  CFRelease(url);
  if (!read || data == NULL) return;

  CFPropertyListRef list =
      CFPropertyListCreateFromXMLData(kCFAllocatorDefault, data, kCFPropertyListImmutable, NULL);
  CFRelease(data);
  if (list == NULL) return;

  if (IsOfType(list, CFDictionaryGetTypeID())) {
    mDataDictRef = static_cast<CFDictionaryRef>(list);
  } else {
    CFRelease(list);
  }
}

CPluginData::~CPluginData() {
  if (mDataDictRef != NULL) CFRelease(mDataDictRef);
}

CFDictionaryRef CPluginData::GetModelInfo(CFStringRef modelNameRef) {
  if (mDataDictRef == NULL || modelNameRef == NULL) return NULL;
  CFTypeRef models = CFDictionaryGetValue(mDataDictRef, CFSTR("Models"));
  if (!IsOfType(models, CFArrayGetTypeID())) return NULL;

  CFArrayRef modelArray = static_cast<CFArrayRef>(models);
  const CFIndex count = CFArrayGetCount(modelArray);
  for (CFIndex i = 0; i < count; ++i) {
    CFTypeRef element = CFArrayGetValueAtIndex(modelArray, i);
    if (!IsOfType(element, CFDictionaryGetTypeID())) continue;
    CFDictionaryRef model = static_cast<CFDictionaryRef>(element);
    CFTypeRef name = CFDictionaryGetValue(model, CFSTR("ModelName"));
    if (!IsOfType(name, CFStringGetTypeID())) continue;
    if (CFStringCompare(static_cast<CFStringRef>(name), modelNameRef, 0) == kCFCompareEqualTo) {
      return model;
    }
  }
  return NULL;
}
