// The object model behind the Core Foundation stand-in: every CF object is a
// C++ object derived from CFObject, reference counted by hand. Shared by the
// CF sources and by the other areas that make or read CF objects.
#ifndef JOBLOG_PLATFORM_CFINTERNAL_H
#define JOBLOG_PLATFORM_CFINTERNAL_H

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "JobLogPlatform.h"

namespace standin {

enum : CFTypeID {
  kTypeIDBoolean = 1,
  kTypeIDNumber,
  kTypeIDString,
  kTypeIDArray,
  kTypeIDDictionary,
  kTypeIDData,
  kTypeIDURL,
  kTypeIDUUID,
  kTypeIDBundle
};

// Stops the program after one line on stderr: for the faults that crash or
// assert on the real platform (releasing NULL, an index out of range, ...).
[[noreturn]] void Fatal(const char* format, ...) __attribute__((format(printf, 1, 2)));
// One diagnostic line on stderr, for faults the caller sees as a failure
// result (a malformed nib or strings table, an executable that will not load).
void Warn(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The first and only base of every CF object, so a CFTypeRef points at it.
struct CFObject {
  CFObject(CFTypeID type, bool isConstant);
  virtual ~CFObject();
  CFObject(const CFObject&) = delete;
  CFObject& operator=(const CFObject&) = delete;

  // Called only with an object of the same type ID.
  virtual bool Equals(const CFObject& other) const = 0;

  const CFTypeID typeID;
  const bool constant;
  CFIndex retainCount = 1;
};

const CFObject* Object(CFTypeRef ref);  // Fatal on NULL
// The object as type T when its type ID is id, else Fatal naming the caller.
template <typename T>
const T* Checked(CFTypeRef ref, CFTypeID id, const char* caller);

// Strings.
const std::u16string& Text(CFStringRef string);
CFStringRef NewString(std::u16string text);
CFStringRef NewStringFromUTF8(const std::string& utf8);  // NULL when not UTF-8
std::string UTF8(CFStringRef string);                    // "" when not convertible
std::string UTF8(const std::u16string& text);

// Conversions through iconv; false when a character has no form in the
// target or the input is malformed.
bool Iconv(const char* to, const char* from, const std::string& input, std::string* output);
bool EncodeText(const std::u16string& text, CFStringEncoding encoding, std::string* bytes);
bool DecodeText(const std::string& bytes, CFStringEncoding encoding, std::u16string* text);
bool DecodeUTF16Bytes(const std::string& bytes, bool bigEndian, std::u16string* text);

// Collections; each takes over the one reference it is given per object.
CFArrayRef NewArray(std::vector<CFTypeRef> values);
CFDictionaryRef NewDictionary(std::vector<std::pair<CFTypeRef, CFTypeRef>> entries);

// Numbers and data.
CFNumberRef NewInteger(int64_t value);
CFNumberRef NewReal(double value);
CFDataRef NewData(std::string bytes);
const std::string& Bytes(CFDataRef data);

// File URLs and files.
CFURLRef NewFileURL(std::string absolutePath, bool isDirectory);
const std::string& Path(CFURLRef url);
// Reads a whole regular file; on failure stores errno in *error.
bool ReadFile(const std::string& path, std::string* bytes, int* error);

// Property lists parsed with libplist; NULL with a reason in *problem.
CFTypeRef ParsePropertyList(const std::string& bytes, std::string* problem);

// Descriptions for %@.
std::string Describe(CFTypeRef object);

}  // namespace standin

// The concrete objects. Their names are the opaque struct names of the
// public headers, so a CFStringRef is a pointer to one of these.
struct OpaqueCFString : standin::CFObject {
  OpaqueCFString(std::u16string value, bool isConstant);
  bool Equals(const CFObject& other) const override;
  std::u16string text;
};

struct OpaqueCFArray : standin::CFObject {
  OpaqueCFArray(CFIndex capacityLimit, const CFArrayCallBacks* callBacks);
  ~OpaqueCFArray() override;
  bool Equals(const CFObject& other) const override;
  CFIndex capacity;  // 0: unlimited
  CFArrayCallBacks callBacks;
  std::vector<const void*> values;
};

struct OpaqueCFDictionary : standin::CFObject {
  OpaqueCFDictionary();
  ~OpaqueCFDictionary() override;
  bool Equals(const CFObject& other) const override;
  const void* Find(const void* key, bool* found) const;
  std::vector<std::pair<CFTypeRef, CFTypeRef>> entries;  // in insertion order
};

struct OpaqueCFNumber : standin::CFObject {
  OpaqueCFNumber(bool floating, int64_t intValue, double realValue);
  bool Equals(const CFObject& other) const override;
  bool isReal;
  int64_t integer;
  double real;
};

struct OpaqueCFBoolean : standin::CFObject {
  explicit OpaqueCFBoolean(bool v);
  bool Equals(const CFObject& other) const override;
  bool value;
};

struct OpaqueCFData : standin::CFObject {
  explicit OpaqueCFData(std::string content);
  bool Equals(const CFObject& other) const override;
  std::string bytes;
};

struct OpaqueCFURL : standin::CFObject {
  OpaqueCFURL(std::string filePath, bool directory);
  bool Equals(const CFObject& other) const override;
  std::string path;  // absolute
  bool isDirectory;
};

struct OpaqueCFUUID : standin::CFObject {
  OpaqueCFUUID(const CFUUIDBytes& value, bool isConstant);
  bool Equals(const CFObject& other) const override;
  CFUUIDBytes bytes;
};

namespace standin {

template <typename T>
const T* Checked(CFTypeRef ref, CFTypeID id, const char* caller) {
  const CFObject* object = Object(ref);
  if (object->typeID != id) {
    Fatal("%s: object of type %lu where type %lu was expected", caller,
          static_cast<unsigned long>(object->typeID), static_cast<unsigned long>(id));
  }
  return static_cast<const T*>(object);
}

}  // namespace standin

#endif
