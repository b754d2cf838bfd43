// Immutable UTF-16 strings: creation, interned CFSTR constants, length,
// conversion to C and Pascal strings, literal comparison.
#include <cstring>
#include <unordered_map>

#include "CFInternal.h"

using standin::Checked;
using standin::kTypeIDString;

OpaqueCFString::OpaqueCFString(std::u16string value, bool isConstant)
    : CFObject(kTypeIDString, isConstant), text(std::move(value)) {}

bool OpaqueCFString::Equals(const CFObject& other) const {
  return text == static_cast<const OpaqueCFString&>(other).text;
}

namespace standin {

const std::u16string& Text(CFStringRef string) {
  return Checked<OpaqueCFString>(string, kTypeIDString, "CFString")->text;
}

CFStringRef NewString(std::u16string text) { return new OpaqueCFString(std::move(text), false); }

CFStringRef NewStringFromUTF8(const std::string& utf8) {
  std::u16string text;
  if (!DecodeText(utf8, kCFStringEncodingUTF8, &text)) return nullptr;
  return NewString(std::move(text));
}

std::string UTF8(const std::u16string& text) {
  std::string bytes;
  if (!EncodeText(text, kCFStringEncodingUTF8, &bytes)) return std::string();
  return bytes;
}

std::string UTF8(CFStringRef string) { return UTF8(Text(string)); }

std::string Describe(CFTypeRef object) {
  if (object == nullptr) return "(null)";
  const CFObject* o = Object(object);
  switch (o->typeID) {
    case kTypeIDString:
      return UTF8(static_cast<CFStringRef>(object));
    case kTypeIDBoolean:
      return static_cast<const OpaqueCFBoolean*>(o)->value ? "true" : "false";
    case kTypeIDNumber: {
      const auto* number = static_cast<const OpaqueCFNumber*>(o);
      if (!number->isReal) return std::to_string(number->integer);
      char buffer[64];
      std::snprintf(buffer, sizeof buffer, "%g", number->real);
      return buffer;
    }
    case kTypeIDURL:
      return static_cast<const OpaqueCFURL*>(o)->path;
    default: {
      static const char* const kNames[] = {"CFType",       "CFBoolean", "CFNumber",
                                           "CFString",     "CFArray",   "CFDictionary",
                                           "CFData",       "CFURL",     "CFUUID",
                                           "CFBundle"};
      char buffer[64];
      std::snprintf(buffer, sizeof buffer, "<%s %p>",
                    o->typeID < sizeof kNames / sizeof kNames[0] ? kNames[o->typeID] : "CFType",
                    object);
      return buffer;
    }
  }
}

}  // namespace standin

CFStringRef CFStringMakeConstantString(const char* cString) {
  // Interned by content for the life of the process, so the same text from
  // the host and from a loaded bundle is one object.
  static auto* constants = new std::unordered_map<std::string, OpaqueCFString*>();
  auto found = constants->find(cString);
  if (found != constants->end()) return found->second;
  std::u16string text;
  if (!standin::DecodeText(cString, kCFStringEncodingUTF8, &text)) {
    standin::Fatal("CFSTR(\"%s\"): not UTF-8 text", cString);
  }
  auto* string = new OpaqueCFString(std::move(text), true);
  constants->emplace(cString, string);
  return string;
}

CFTypeID CFStringGetTypeID(void) { return kTypeIDString; }

CFStringRef CFStringCreateWithCString(CFAllocatorRef, const char* cStr, CFStringEncoding encoding) {
  if (cStr == nullptr) return nullptr;
  std::u16string text;
  if (!standin::DecodeText(cStr, encoding, &text)) return nullptr;
  return standin::NewString(std::move(text));
}

CFStringRef CFStringCreateCopy(CFAllocatorRef, CFStringRef theString) {
  return standin::NewString(standin::Text(theString));
}

CFIndex CFStringGetLength(CFStringRef theString) {
  return static_cast<CFIndex>(standin::Text(theString).size());
}

UniChar CFStringGetCharacterAtIndex(CFStringRef theString, CFIndex idx) {
  const std::u16string& text = standin::Text(theString);
  if (idx < 0 || static_cast<size_t>(idx) >= text.size()) {
    standin::Fatal("CFStringGetCharacterAtIndex: index %ld outside a string of %zu", idx,
                   text.size());
  }
  return text[static_cast<size_t>(idx)];
}

Boolean CFStringGetCString(CFStringRef theString, char* buffer, CFIndex bufferSize,
                           CFStringEncoding encoding) {
  std::string bytes;
  if (buffer == nullptr || bufferSize < 1) return false;
  if (!standin::EncodeText(standin::Text(theString), encoding, &bytes)) return false;
  if (bytes.size() + 1 > static_cast<size_t>(bufferSize)) return false;
  std::memcpy(buffer, bytes.data(), bytes.size());
  buffer[bytes.size()] = '\0';
  return true;
}

Boolean CFStringGetPascalString(CFStringRef theString, StringPtr buffer, CFIndex bufferSize,
                                CFStringEncoding encoding) {
  if (buffer == nullptr || bufferSize < 1) return false;
  buffer[0] = 0;
  std::string bytes;
  if (!standin::EncodeText(standin::Text(theString), encoding, &bytes)) return false;
  if (bytes.size() > 255 || bytes.size() + 1 > static_cast<size_t>(bufferSize)) return false;
  buffer[0] = static_cast<unsigned char>(bytes.size());
  std::memcpy(buffer + 1, bytes.data(), bytes.size());
  return true;
}

CFComparisonResult CFStringCompare(CFStringRef theString1, CFStringRef theString2,
                                   CFStringCompareFlags compareOptions) {
  if (compareOptions != 0) {
    standin::Fatal("CFStringCompare: option 0x%lx is not offered, only the literal comparison",
                   compareOptions);
  }
  int order = standin::Text(theString1).compare(standin::Text(theString2));
  return order < 0 ? kCFCompareLessThan : order > 0 ? kCFCompareGreaterThan : kCFCompareEqualTo;
}
