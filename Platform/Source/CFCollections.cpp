// Arrays (immutable and mutable) with their value callbacks, and the
// immutable dictionaries that property lists are made of.
#include "CFInternal.h"

using standin::Checked;
using standin::kTypeIDArray;
using standin::kTypeIDDictionary;

namespace {

const void* RetainValue(CFAllocatorRef, const void* value) { return CFRetain(value); }
void ReleaseValue(CFAllocatorRef, const void* value) { CFRelease(value); }
Boolean EqualValues(const void* a, const void* b) { return CFEqual(a, b); }

OpaqueCFArray* MutableArray(CFMutableArrayRef array, const char* caller) {
  return const_cast<OpaqueCFArray*>(Checked<OpaqueCFArray>(array, kTypeIDArray, caller));
}

}  // namespace

const CFArrayCallBacks kCFTypeArrayCallBacks = {0, RetainValue, ReleaseValue, nullptr, EqualValues};

OpaqueCFArray::OpaqueCFArray(CFIndex capacityLimit, const CFArrayCallBacks* arrayCallBacks)
    : CFObject(kTypeIDArray, false), capacity(capacityLimit), callBacks() {
  if (arrayCallBacks != nullptr) callBacks = *arrayCallBacks;
}

OpaqueCFArray::~OpaqueCFArray() {
  if (callBacks.release != nullptr) {
    for (const void* value : values) callBacks.release(nullptr, value);
  }
}

bool OpaqueCFArray::Equals(const CFObject& other) const {
  const auto& that = static_cast<const OpaqueCFArray&>(other);
  if (values.size() != that.values.size()) return false;
  for (size_t i = 0; i < values.size(); ++i) {
    if (values[i] == that.values[i]) continue;
    if (callBacks.equal == nullptr || !callBacks.equal(values[i], that.values[i])) return false;
  }
  return true;
}

OpaqueCFDictionary::OpaqueCFDictionary() : CFObject(kTypeIDDictionary, false) {}

OpaqueCFDictionary::~OpaqueCFDictionary() {
  for (auto& entry : entries) {
    CFRelease(entry.first);
    CFRelease(entry.second);
  }
}

const void* OpaqueCFDictionary::Find(const void* key, bool* found) const {
  for (const auto& entry : entries) {
    if (CFEqual(entry.first, key)) {
      *found = true;
      return entry.second;
    }
  }
  *found = false;
  return nullptr;
}

bool OpaqueCFDictionary::Equals(const CFObject& other) const {
  const auto& that = static_cast<const OpaqueCFDictionary&>(other);
  if (entries.size() != that.entries.size()) return false;
  for (const auto& entry : entries) {
    bool found;
    const void* value = that.Find(entry.first, &found);
    if (!found || !CFEqual(value, entry.second)) return false;
  }
  return true;
}

namespace standin {

CFArrayRef NewArray(std::vector<CFTypeRef> values) {
  auto* array = new OpaqueCFArray(0, &kCFTypeArrayCallBacks);
  array->values = std::move(values);
  return array;
}

CFDictionaryRef NewDictionary(std::vector<std::pair<CFTypeRef, CFTypeRef>> entries) {
  auto* dictionary = new OpaqueCFDictionary();
  // A later duplicate key replaces the earlier value, in the earlier place.
  for (auto& entry : entries) {
    bool replaced = false;
    for (auto& existing : dictionary->entries) {
      if (CFEqual(existing.first, entry.first)) {
        CFRelease(existing.second);
        CFRelease(entry.first);
        existing.second = entry.second;
        replaced = true;
        break;
      }
    }
    if (!replaced) dictionary->entries.push_back(entry);
  }
  return dictionary;
}

}  // namespace standin

CFTypeID CFArrayGetTypeID(void) { return kTypeIDArray; }

CFMutableArrayRef CFArrayCreateMutable(CFAllocatorRef, CFIndex capacity,
                                       const CFArrayCallBacks* callBacks) {
  if (capacity < 0) standin::Fatal("CFArrayCreateMutable: negative capacity %ld", capacity);
  return new OpaqueCFArray(capacity, callBacks);
}

void CFArrayAppendValue(CFMutableArrayRef theArray, const void* value) {
  OpaqueCFArray* array = MutableArray(theArray, "CFArrayAppendValue");
  if (array->capacity != 0 && static_cast<CFIndex>(array->values.size()) >= array->capacity) {
    standin::Fatal("CFArrayAppendValue: the array is full (capacity %ld)", array->capacity);
  }
  if (array->callBacks.retain != nullptr) value = array->callBacks.retain(nullptr, value);
  array->values.push_back(value);
}

CFIndex CFArrayGetCount(CFArrayRef theArray) {
  return static_cast<CFIndex>(
      Checked<OpaqueCFArray>(theArray, kTypeIDArray, "CFArrayGetCount")->values.size());
}

const void* CFArrayGetValueAtIndex(CFArrayRef theArray, CFIndex idx) {
  const auto* array = Checked<OpaqueCFArray>(theArray, kTypeIDArray, "CFArrayGetValueAtIndex");
  if (idx < 0 || static_cast<size_t>(idx) >= array->values.size()) {
    standin::Fatal("CFArrayGetValueAtIndex: index %ld outside an array of %zu", idx,
                   array->values.size());
  }
  return array->values[static_cast<size_t>(idx)];
}

CFTypeID CFDictionaryGetTypeID(void) { return kTypeIDDictionary; }

CFIndex CFDictionaryGetCount(CFDictionaryRef theDict) {
  return static_cast<CFIndex>(
      Checked<OpaqueCFDictionary>(theDict, kTypeIDDictionary, "CFDictionaryGetCount")
          ->entries.size());
}

Boolean CFDictionaryGetValueIfPresent(CFDictionaryRef theDict, const void* key,
                                      const void** value) {
  const auto* dictionary =
      Checked<OpaqueCFDictionary>(theDict, kTypeIDDictionary, "CFDictionaryGetValueIfPresent");
  if (key == nullptr) return false;
  bool found;
  const void* stored = dictionary->Find(key, &found);
  if (found && value != nullptr) *value = stored;
  return found;
}

const void* CFDictionaryGetValue(CFDictionaryRef theDict, const void* key) {
  const void* value = nullptr;
  return CFDictionaryGetValueIfPresent(theDict, key, &value) ? value : nullptr;
}

Boolean CFDictionaryContainsKey(CFDictionaryRef theDict, const void* key) {
  return CFDictionaryGetValueIfPresent(theDict, key, nullptr);
}
