// The scrap: flavors of bytes by type, read by the product, written by the
// dialog host and the tests.
#include <algorithm>
#include <cstring>

#include "HIToolboxInternal.h"

struct OpaqueScrapRef {
  std::map<ScrapFlavorType, std::string> flavors;
};

namespace {

OpaqueScrapRef& TheScrap() {
  static auto* scrap = new OpaqueScrapRef();
  return *scrap;
}

const std::string* Flavor(ScrapRef scrap, ScrapFlavorType type) {
  auto found = scrap->flavors.find(type);
  return found != scrap->flavors.end() ? &found->second : nullptr;
}

}  // namespace

namespace standin {

const std::string* ScrapText() { return Flavor(&TheScrap(), kScrapFlavorTypeText); }

void ResetScrap() { TheScrap().flavors.clear(); }

}  // namespace standin

OSStatus GetCurrentScrap(ScrapRef* scrap) {
  if (scrap == nullptr) return paramErr;
  *scrap = &TheScrap();
  return noErr;
}

OSStatus GetScrapFlavorSize(ScrapRef scrap, ScrapFlavorType flavorType, Size* byteCount) {
  if (scrap != &TheScrap() || byteCount == nullptr) return paramErr;
  const std::string* bytes = Flavor(scrap, flavorType);
  if (bytes == nullptr) return noTypeErr;
  *byteCount = static_cast<Size>(bytes->size());
  return noErr;
}

OSStatus GetScrapFlavorData(ScrapRef scrap, ScrapFlavorType flavorType, Size* byteCount,
                            void* destination) {
  if (scrap != &TheScrap() || byteCount == nullptr || *byteCount < 0) return paramErr;
  const std::string* bytes = Flavor(scrap, flavorType);
  if (bytes == nullptr) return noTypeErr;
  size_t count = std::min(static_cast<size_t>(*byteCount), bytes->size());
  if (count > 0 && destination == nullptr) return paramErr;
  if (count > 0) std::memcpy(destination, bytes->data(), count);
  *byteCount = static_cast<Size>(count);
  return noErr;
}

void SimSetScrapText(const void* bytes, Size length) {
  OpaqueScrapRef& scrap = TheScrap();
  scrap.flavors.clear();
  if (length < 0 || (bytes == nullptr && length > 0)) return;
  scrap.flavors[kScrapFlavorTypeText] =
      length > 0 ? std::string(static_cast<const char*>(bytes), static_cast<size_t>(length)) : std::string();
}

Boolean SimSetScrapTextUTF8(const char* utf8Text) {
  if (utf8Text == nullptr) return false;
  std::u16string text;
  std::string roman;
  if (!standin::DecodeText(utf8Text, kCFStringEncodingUTF8, &text) ||
      !standin::EncodeText(text, kCFStringEncodingMacRoman, &roman)) {
    return false;
  }
  SimSetScrapText(roman.data(), static_cast<Size>(roman.size()));
  return true;
}

void SimClearScrap(void) { standin::ResetScrap(); }
