// Reference counting, equality and type IDs shared by every CF object, and
// the count of live objects that the simulation reports.
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

#include "CFInternal.h"
#include "PlatformSimulation.h"

namespace {

CFIndex gLiveObjects = 0;

}  // namespace

const CFAllocatorRef kCFAllocatorDefault = nullptr;

namespace standin {

namespace {

void Say(const char* format, va_list arguments) {
  std::fputs("JobLogPlatform: ", stderr);
  std::vfprintf(stderr, format, arguments);
  std::fputc('\n', stderr);
}

}  // namespace

void Fatal(const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  Say(format, arguments);
  va_end(arguments);
  std::abort();
}

void Warn(const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  Say(format, arguments);
  va_end(arguments);
}

CFObject::CFObject(CFTypeID type, bool isConstant) : typeID(type), constant(isConstant) {
  if (!constant) ++gLiveObjects;
}

CFObject::~CFObject() {
  if (!constant) --gLiveObjects;
}

const CFObject* Object(CFTypeRef ref) {
  if (ref == nullptr) Fatal("a Core Foundation call was given NULL for an object");
  return static_cast<const CFObject*>(ref);
}

}  // namespace standin

using standin::CFObject;
using standin::Object;

CFTypeRef CFRetain(CFTypeRef object) {
  if (object == nullptr) standin::Fatal("CFRetain(NULL)");
  CFObject* o = const_cast<CFObject*>(Object(object));
  if (!o->constant) ++o->retainCount;
  return object;
}

void CFRelease(CFTypeRef object) {
  if (object == nullptr) standin::Fatal("CFRelease(NULL)");
  CFObject* o = const_cast<CFObject*>(Object(object));
  if (o->constant) return;
  if (o->retainCount <= 0) standin::Fatal("CFRelease of an object that was already freed");
  if (--o->retainCount == 0) delete o;
}

CFIndex CFGetRetainCount(CFTypeRef object) {
  const CFObject* o = Object(object);
  // Constants report a count no caller can bring to 0.
  return o->constant ? static_cast<CFIndex>(0x7FFFFFFF) : o->retainCount;
}

Boolean CFEqual(CFTypeRef object1, CFTypeRef object2) {
  const CFObject* a = Object(object1);
  const CFObject* b = Object(object2);
  if (a == b) return true;
  if (a->typeID != b->typeID) return false;
  return a->Equals(*b);
}

CFTypeID CFGetTypeID(CFTypeRef object) { return Object(object)->typeID; }

CFIndex SimGetLiveCFObjectCount(void) { return gLiveObjects; }
