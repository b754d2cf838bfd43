// Immutable byte buffers.
#include "CFInternal.h"

using standin::Checked;
using standin::kTypeIDData;

OpaqueCFData::OpaqueCFData(std::string content) : CFObject(kTypeIDData, false), bytes(std::move(content)) {}

bool OpaqueCFData::Equals(const CFObject& other) const {
  return bytes == static_cast<const OpaqueCFData&>(other).bytes;
}

CFDataRef standin::NewData(std::string bytes) { return new OpaqueCFData(std::move(bytes)); }

const std::string& standin::Bytes(CFDataRef data) {
  return Checked<OpaqueCFData>(data, kTypeIDData, "CFData")->bytes;
}

CFTypeID CFDataGetTypeID(void) { return kTypeIDData; }

CFDataRef CFDataCreate(CFAllocatorRef, const UInt8* bytes, CFIndex length) {
  if (length < 0 || (bytes == nullptr && length > 0)) return nullptr;
  return standin::NewData(std::string(reinterpret_cast<const char*>(bytes), static_cast<size_t>(length)));
}

CFIndex CFDataGetLength(CFDataRef theData) {
  return static_cast<CFIndex>(standin::Bytes(theData).size());
}

const UInt8* CFDataGetBytePtr(CFDataRef theData) {
  return reinterpret_cast<const UInt8*>(standin::Bytes(theData).data());
}
