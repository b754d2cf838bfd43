// Conversions between the strings' UTF-16 and the byte encodings the
// platform names, all through glibc's iconv (Mac OS Roman is its
// "MACINTOSH"). No conversion substitutes: a character without a form in
// the target fails the whole conversion.
#include <iconv.h>

#include <cerrno>

#include "CFInternal.h"

namespace standin {

namespace {

// The strings' UTF-16 units as they lie in memory.
#if __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
const char kHostUTF16[] = "UTF-16LE";
#else
const char kHostUTF16[] = "UTF-16BE";
#endif

const char* IconvName(CFStringEncoding encoding) {
  switch (encoding) {
    case kCFStringEncodingUTF8:
      return "UTF-8";
    case kCFStringEncodingASCII:
      return "ASCII";
    case kCFStringEncodingMacRoman:
      return "MACINTOSH";
    default:
      return nullptr;
  }
}

}  // namespace

bool Iconv(const char* to, const char* from, const std::string& input, std::string* output) {
  iconv_t converter = iconv_open(to, from);
  if (converter == reinterpret_cast<iconv_t>(-1)) return false;
  output->clear();
  char* in = const_cast<char*>(input.data());
  size_t inLeft = input.size();
  char buffer[1024];
  bool ok = true;
  while (inLeft > 0) {
    char* out = buffer;
    size_t outLeft = sizeof buffer;
    size_t result = iconv(converter, &in, &inLeft, &out, &outLeft);
    output->append(buffer, sizeof buffer - outLeft);
    if (result == static_cast<size_t>(-1) && errno != E2BIG) {
      ok = false;  // EILSEQ: no form in the target or malformed; EINVAL: cut short
      break;
    }
  }
  if (ok) {
    // Flush any shift state.
    char* out = buffer;
    size_t outLeft = sizeof buffer;
    if (iconv(converter, nullptr, nullptr, &out, &outLeft) == static_cast<size_t>(-1)) ok = false;
    output->append(buffer, sizeof buffer - outLeft);
  }
  iconv_close(converter);
  if (!ok) output->clear();
  return ok;
}

bool EncodeText(const std::u16string& text, CFStringEncoding encoding, std::string* bytes) {
  const char* name = IconvName(encoding);
  if (name == nullptr) return false;
  std::string units(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(char16_t));
  return Iconv(name, kHostUTF16, units, bytes);
}

bool DecodeText(const std::string& bytes, CFStringEncoding encoding, std::u16string* text) {
  const char* name = IconvName(encoding);
  if (name == nullptr) return false;
  std::string units;
  if (!Iconv(kHostUTF16, name, bytes, &units)) return false;
  text->assign(reinterpret_cast<const char16_t*>(units.data()), units.size() / sizeof(char16_t));
  return true;
}

bool DecodeUTF16Bytes(const std::string& bytes, bool bigEndian, std::u16string* text) {
  std::string units;
  if (!Iconv(kHostUTF16, bigEndian ? "UTF-16BE" : "UTF-16LE", bytes, &units)) return false;
  text->assign(reinterpret_cast<const char16_t*>(units.data()), units.size() / sizeof(char16_t));
  return true;
}

}  // namespace standin
