// UUID objects: parsing the 8-4-4-4-12 text form, bytes in and out, and
// the process-wide constants.
#include <cstring>
#include <map>

#include "CFInternal.h"

using standin::Checked;
using standin::kTypeIDUUID;

OpaqueCFUUID::OpaqueCFUUID(const CFUUIDBytes& value, bool isConstant)
    : CFObject(kTypeIDUUID, isConstant), bytes(value) {}

bool OpaqueCFUUID::Equals(const CFObject& other) const {
  return std::memcmp(&bytes, &static_cast<const OpaqueCFUUID&>(other).bytes, sizeof bytes) == 0;
}

namespace {

int HexValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

}  // namespace

CFTypeID CFUUIDGetTypeID(void) { return kTypeIDUUID; }

CFUUIDRef CFUUIDCreateFromString(CFAllocatorRef, CFStringRef uuidStr) {
  if (uuidStr == nullptr) return nullptr;
  const std::u16string& text = standin::Text(uuidStr);
  if (text.size() != 36) return nullptr;
  UInt8 raw[16];
  size_t byte = 0;
  for (size_t i = 0; i < text.size();) {
    if (i == 8 || i == 13 || i == 18 || i == 23) {
      if (text[i] != u'-') return nullptr;
      ++i;
      continue;
    }
    int high = HexValue(text[i]);
    int low = HexValue(text[i + 1]);
    if (high < 0 || low < 0) return nullptr;
    raw[byte++] = static_cast<UInt8>(high << 4 | low);
    i += 2;
  }
  CFUUIDBytes bytes;
  std::memcpy(&bytes, raw, sizeof bytes);
  return new OpaqueCFUUID(bytes, false);
}

CFUUIDRef CFUUIDCreateFromUUIDBytes(CFAllocatorRef, CFUUIDBytes bytes) {
  return new OpaqueCFUUID(bytes, false);
}

CFUUIDRef CFUUIDGetConstantUUIDWithBytes(CFAllocatorRef, UInt8 byte0, UInt8 byte1, UInt8 byte2,
                                         UInt8 byte3, UInt8 byte4, UInt8 byte5, UInt8 byte6,
                                         UInt8 byte7, UInt8 byte8, UInt8 byte9, UInt8 byte10,
                                         UInt8 byte11, UInt8 byte12, UInt8 byte13, UInt8 byte14,
                                         UInt8 byte15) {
  static auto* constants = new std::map<std::string, OpaqueCFUUID*>();
  const UInt8 raw[16] = {byte0, byte1, byte2,  byte3,  byte4,  byte5,  byte6,  byte7,
                         byte8, byte9, byte10, byte11, byte12, byte13, byte14, byte15};
  std::string key(reinterpret_cast<const char*>(raw), sizeof raw);
  auto found = constants->find(key);
  if (found != constants->end()) return found->second;
  CFUUIDBytes bytes;
  std::memcpy(&bytes, raw, sizeof bytes);
  auto* uuid = new OpaqueCFUUID(bytes, true);
  constants->emplace(key, uuid);
  return uuid;
}

CFUUIDBytes CFUUIDGetUUIDBytes(CFUUIDRef uuid) {
  return Checked<OpaqueCFUUID>(uuid, kTypeIDUUID, "CFUUIDGetUUIDBytes")->bytes;
}

CFStringRef CFUUIDCreateString(CFAllocatorRef, CFUUIDRef uuid) {
  const CFUUIDBytes& b = Checked<OpaqueCFUUID>(uuid, kTypeIDUUID, "CFUUIDCreateString")->bytes;
  char text[37];
  std::snprintf(text, sizeof text,
                "%02X%02X%02X%02X-%02X%02X-%02X%02X-%02X%02X-%02X%02X%02X%02X%02X%02X", b.byte0,
                b.byte1, b.byte2, b.byte3, b.byte4, b.byte5, b.byte6, b.byte7, b.byte8, b.byte9,
                b.byte10, b.byte11, b.byte12, b.byte13, b.byte14, b.byte15);
  return standin::NewStringFromUTF8(text);
}
