// Numbers, held as a 64-bit integer or a double, converted on the way out
// with the platform's rule that a lossy conversion returns false; and the
// two Boolean constants.
#include <cmath>
#include <cstring>
#include <limits>

#include "CFInternal.h"

using standin::Checked;
using standin::kTypeIDBoolean;
using standin::kTypeIDNumber;

OpaqueCFNumber::OpaqueCFNumber(bool floating, int64_t intValue, double realValue)
    : CFObject(kTypeIDNumber, false), isReal(floating), integer(intValue), real(realValue) {}

bool OpaqueCFNumber::Equals(const CFObject& other) const {
  const auto& that = static_cast<const OpaqueCFNumber&>(other);
  if (!isReal && !that.isReal) return integer == that.integer;
  long double a = isReal ? real : static_cast<long double>(integer);
  long double b = that.isReal ? that.real : static_cast<long double>(that.integer);
  return a == b;
}

OpaqueCFBoolean::OpaqueCFBoolean(bool v) : CFObject(kTypeIDBoolean, true), value(v) {}

bool OpaqueCFBoolean::Equals(const CFObject& other) const {
  return value == static_cast<const OpaqueCFBoolean&>(other).value;
}

namespace {

enum class Kind { Integer, Real, Unknown };

struct TypeInfo {
  Kind kind;
  size_t size;
};

TypeInfo Info(CFNumberType type) {
  switch (type) {
    case kCFNumberSInt8Type:
    case kCFNumberCharType:
      return {Kind::Integer, 1};
    case kCFNumberSInt16Type:
    case kCFNumberShortType:
      return {Kind::Integer, 2};
    case kCFNumberSInt32Type:
    case kCFNumberIntType:
      return {Kind::Integer, 4};
    case kCFNumberSInt64Type:
    case kCFNumberLongLongType:
      return {Kind::Integer, 8};
    case kCFNumberLongType:
      return {Kind::Integer, sizeof(long)};
    case kCFNumberCFIndexType:
      return {Kind::Integer, sizeof(CFIndex)};
    case kCFNumberFloat32Type:
    case kCFNumberFloatType:
      return {Kind::Real, 4};
    case kCFNumberFloat64Type:
    case kCFNumberDoubleType:
      return {Kind::Real, 8};
    default:
      return {Kind::Unknown, 0};
  }
}

int64_t ReadInteger(const void* p, size_t size) {
  switch (size) {
    case 1: { int8_t v; std::memcpy(&v, p, 1); return v; }
    case 2: { int16_t v; std::memcpy(&v, p, 2); return v; }
    case 4: { int32_t v; std::memcpy(&v, p, 4); return v; }
    default: { int64_t v; std::memcpy(&v, p, 8); return v; }
  }
}

// Stores value truncated to size bytes; true when nothing was lost.
bool WriteInteger(int64_t value, void* p, size_t size) {
  switch (size) {
    case 1: { auto v = static_cast<int8_t>(value); std::memcpy(p, &v, 1); return v == value; }
    case 2: { auto v = static_cast<int16_t>(value); std::memcpy(p, &v, 2); return v == value; }
    case 4: { auto v = static_cast<int32_t>(value); std::memcpy(p, &v, 4); return v == value; }
    default: std::memcpy(p, &value, 8); return true;
  }
}

}  // namespace

CFNumberRef standin::NewInteger(int64_t value) { return new OpaqueCFNumber(false, value, 0); }
CFNumberRef standin::NewReal(double value) { return new OpaqueCFNumber(true, 0, value); }

CFTypeID CFNumberGetTypeID(void) { return kTypeIDNumber; }

CFNumberRef CFNumberCreate(CFAllocatorRef, CFNumberType theType, const void* valuePtr) {
  TypeInfo info = Info(theType);
  if (info.kind == Kind::Unknown || valuePtr == nullptr) return nullptr;
  if (info.kind == Kind::Integer) return standin::NewInteger(ReadInteger(valuePtr, info.size));
  if (info.size == 4) {
    float v;
    std::memcpy(&v, valuePtr, 4);
    return standin::NewReal(v);
  }
  double v;
  std::memcpy(&v, valuePtr, 8);
  return standin::NewReal(v);
}

Boolean CFNumberGetValue(CFNumberRef number, CFNumberType theType, void* valuePtr) {
  const auto* n = Checked<OpaqueCFNumber>(number, kTypeIDNumber, "CFNumberGetValue");
  TypeInfo info = Info(theType);
  if (info.kind == Kind::Unknown || valuePtr == nullptr) return false;
  if (info.kind == Kind::Integer) {
    if (!n->isReal) return WriteInteger(n->integer, valuePtr, info.size);
    // From a real: truncate toward zero; lossy for a fraction or out of range.
    double r = n->real;
    bool exact = std::isfinite(r) && std::trunc(r) == r && r >= -9223372036854775808.0 &&
                 r < 9223372036854775808.0;
    int64_t truncated = 0;
    if (std::isfinite(r) && r >= -9223372036854775808.0 && r < 9223372036854775808.0) {
      truncated = static_cast<int64_t>(r);
    }
    return WriteInteger(truncated, valuePtr, info.size) && exact;
  }
  double value = n->isReal ? n->real : static_cast<double>(n->integer);
  bool exact = n->isReal || static_cast<long double>(value) == static_cast<long double>(n->integer);
  if (info.size == 4) {
    float f = std::isfinite(value) && std::fabs(value) > std::numeric_limits<float>::max()
                  ? std::copysign(std::numeric_limits<float>::infinity(), static_cast<float>(value > 0 ? 1 : -1))
                  : static_cast<float>(value);
    std::memcpy(valuePtr, &f, 4);
    return exact && (std::isnan(value) || static_cast<double>(f) == value);
  }
  std::memcpy(valuePtr, &value, 8);
  return exact;
}

static OpaqueCFBoolean gTrue(true);
static OpaqueCFBoolean gFalse(false);
const CFBooleanRef kCFBooleanTrue = &gTrue;
const CFBooleanRef kCFBooleanFalse = &gFalse;

CFTypeID CFBooleanGetTypeID(void) { return kTypeIDBoolean; }

Boolean CFBooleanGetValue(CFBooleanRef boolean) {
  return Checked<OpaqueCFBoolean>(boolean, kTypeIDBoolean, "CFBooleanGetValue")->value;
}
