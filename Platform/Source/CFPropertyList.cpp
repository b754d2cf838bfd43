// Property lists: libplist parses XML or binary lists; the tree it gives is
// turned into immutable CF objects.
#include <plist/plist.h>

#include <cstdlib>
#include <limits>

#include "CFInternal.h"

namespace {

constexpr int kMaxDepth = 256;

CFTypeRef Convert(plist_t node, int depth, std::string* problem);

CFTypeRef ConvertArray(plist_t node, int depth, std::string* problem) {
  std::vector<CFTypeRef> values;
  uint32_t count = plist_array_get_size(node);
  for (uint32_t i = 0; i < count; ++i) {
    CFTypeRef value = Convert(plist_array_get_item(node, i), depth + 1, problem);
    if (value == nullptr) {
      for (CFTypeRef v : values) CFRelease(v);
      return nullptr;
    }
    values.push_back(value);
  }
  return standin::NewArray(std::move(values));
}

CFTypeRef ConvertDictionary(plist_t node, int depth, std::string* problem) {
  std::vector<std::pair<CFTypeRef, CFTypeRef>> entries;
  plist_dict_iter iter = nullptr;
  plist_dict_new_iter(node, &iter);
  bool ok = iter != nullptr;
  if (!ok) *problem = "cannot walk a dictionary";
  while (ok) {
    char* key = nullptr;
    plist_t item = nullptr;
    plist_dict_next_item(node, iter, &key, &item);
    if (key == nullptr) break;
    CFStringRef keyString = standin::NewStringFromUTF8(key);
    std::free(key);
    if (keyString == nullptr) {
      *problem = "a dictionary key is not UTF-8 text";
      ok = false;
      break;
    }
    CFTypeRef value = item != nullptr ? Convert(item, depth + 1, problem) : nullptr;
    if (value == nullptr) {
      if (item == nullptr) *problem = "a dictionary key has no value";
      CFRelease(keyString);
      ok = false;
      break;
    }
    entries.emplace_back(keyString, value);
  }
  std::free(iter);
  if (!ok) {
    for (auto& entry : entries) {
      CFRelease(entry.first);
      CFRelease(entry.second);
    }
    return nullptr;
  }
  return standin::NewDictionary(std::move(entries));
}

CFTypeRef Convert(plist_t node, int depth, std::string* problem) {
  if (depth > kMaxDepth) {
    *problem = "nested too deeply";
    return nullptr;
  }
  switch (plist_get_node_type(node)) {
    case PLIST_BOOLEAN: {
      uint8_t value = 0;
      plist_get_bool_val(node, &value);
      return value ? kCFBooleanTrue : kCFBooleanFalse;
    }
    case PLIST_UINT: {
      // libplist keeps every integer as 64 bits; negative ones come back
      // as their two's complement.
      uint64_t value = 0;
      plist_get_uint_val(node, &value);
      return standin::NewInteger(static_cast<int64_t>(value));
    }
    case PLIST_REAL: {
      double value = 0;
      plist_get_real_val(node, &value);
      return standin::NewReal(value);
    }
    case PLIST_STRING: {
      uint64_t length = 0;
      const char* text = plist_get_string_ptr(node, &length);
      CFStringRef string =
          text != nullptr ? standin::NewStringFromUTF8(std::string(text, length)) : nullptr;
      if (string == nullptr) *problem = "a string is not UTF-8 text";
      return string;
    }
    case PLIST_DATA: {
      uint64_t length = 0;
      const char* bytes = plist_get_data_ptr(node, &length);
      return standin::NewData(bytes != nullptr ? std::string(bytes, length) : std::string());
    }
    case PLIST_ARRAY:
      return ConvertArray(node, depth, problem);
    case PLIST_DICT:
      return ConvertDictionary(node, depth, problem);
    case PLIST_DATE:
      *problem = "dates are not offered";
      return nullptr;
    default:
      *problem = "a value of an unknown type";
      return nullptr;
  }
}

}  // namespace

CFTypeRef standin::ParsePropertyList(const std::string& bytes, std::string* problem) {
  if (bytes.empty() || bytes.size() > std::numeric_limits<uint32_t>::max()) {
    *problem = bytes.empty() ? "no data" : "too large";
    return nullptr;
  }
  plist_t root = nullptr;
  plist_from_memory(bytes.data(), static_cast<uint32_t>(bytes.size()), &root);
  if (root == nullptr) {
    *problem = "not a property list";
    return nullptr;
  }
  CFTypeRef result = Convert(root, 0, problem);
  plist_free(root);
  return result;
}

CFPropertyListRef CFPropertyListCreateFromXMLData(CFAllocatorRef, CFDataRef xmlData,
                                                  CFOptionFlags mutabilityOption,
                                                  CFStringRef* errorString) {
  if (errorString != nullptr) *errorString = nullptr;
  std::string problem;
  CFTypeRef result = nullptr;
  if (mutabilityOption != kCFPropertyListImmutable) {
    problem = "only immutable property lists are offered";
  } else if (xmlData == nullptr) {
    problem = "no data";
  } else {
    result = standin::ParsePropertyList(standin::Bytes(xmlData), &problem);
  }
  if (result == nullptr && errorString != nullptr) {
    *errorString = standin::NewStringFromUTF8(problem);
  }
  return result;
}
