// UTF-8 and UTF-16 conversion, and the quoted form of text values in the
// host's output.
#include "TextFormat.h"

#include <cstdio>

namespace {

bool IsHighSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

void AppendUTF8(char32_t code, std::string* text) {
  if (code < 0x80) {
    text->push_back(static_cast<char>(code));
  } else if (code < 0x800) {
    text->push_back(static_cast<char>(0xC0 | (code >> 6)));
    text->push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else if (code < 0x10000) {
    text->push_back(static_cast<char>(0xE0 | (code >> 12)));
    text->push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    text->push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else {
    text->push_back(static_cast<char>(0xF0 | (code >> 18)));
    text->push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
    text->push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    text->push_back(static_cast<char>(0x80 | (code & 0x3F)));
  }
}

}  // namespace

bool DecodeUTF8(const std::string& text, std::u16string* units) {
  units->clear();
  for (size_t i = 0; i < text.size();) {
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    size_t length;
    char32_t code;
    char32_t smallest;
    if (lead < 0x80) {
      length = 1, code = lead, smallest = 0;
    } else if ((lead & 0xE0) == 0xC0) {
      length = 2, code = lead & 0x1F, smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
      length = 3, code = lead & 0x0F, smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
      length = 4, code = lead & 0x07, smallest = 0x10000;
    } else {
      return false;
    }
    if (i + length > text.size()) return false;
    for (size_t k = 1; k < length; ++k) {
      const unsigned char next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      code = (code << 6) | (next & 0x3F);
    }
    // Overlong forms, surrogates and values past Unicode are not UTF-8.
    if (code < smallest || code > 0x10FFFF || IsHighSurrogate(code) || IsLowSurrogate(code)) return false;
    if (code >= 0x10000) {
      code -= 0x10000;
      units->push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
      units->push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
    } else {
      units->push_back(static_cast<char16_t>(code));
    }
    i += length;
  }
  return true;
}

bool EncodeUTF8(const std::u16string& units, std::string* text) {
  text->clear();
  for (size_t i = 0; i < units.size(); ++i) {
    char32_t code = units[i];
    if (IsHighSurrogate(code) && i + 1 < units.size() && IsLowSurrogate(units[i + 1])) {
      code = 0x10000 + ((code - 0xD800) << 10) + (units[++i] - 0xDC00);
    } else if (IsHighSurrogate(code) || IsLowSurrogate(code)) {
      return false;
    }
    AppendUTF8(code, text);
  }
  return true;
}

CFStringRef CreateStringFromUTF8(const std::string& text) {
  std::u16string units;
  if (text.find('\0') != std::string::npos || !DecodeUTF8(text, &units)) return nullptr;
  return CFStringCreateWithCString(kCFAllocatorDefault, text.c_str(), kCFStringEncodingUTF8);
}

std::u16string UnitsOf(CFStringRef string) {
  std::u16string units;
  if (string == nullptr) return units;
  const CFIndex length = CFStringGetLength(string);
  for (CFIndex i = 0; i < length; ++i) units.push_back(CFStringGetCharacterAtIndex(string, i));
  return units;
}

std::string Quote(const std::u16string& units) {
  std::string quoted = "\"";
  char escape[8];
  for (size_t i = 0; i < units.size(); ++i) {
    char32_t code = units[i];
    if (IsHighSurrogate(code) && i + 1 < units.size() && IsLowSurrogate(units[i + 1])) {
      code = 0x10000 + ((code - 0xD800) << 10) + (units[++i] - 0xDC00);
      AppendUTF8(code, &quoted);
      continue;
    }
    switch (code) {
      case u'"': quoted += "\\\""; continue;
      case u'\\': quoted += "\\\\"; continue;
      case u'\n': quoted += "\\n"; continue;
      case u'\r': quoted += "\\r"; continue;
      case u'\t': quoted += "\\t"; continue;
      default: break;
    }
    if (code < 0x20 || code == 0x7F || IsHighSurrogate(code) || IsLowSurrogate(code)) {
      std::snprintf(escape, sizeof escape, "\\u%04X", static_cast<unsigned>(code));
      quoted += escape;
    } else {
      AppendUTF8(code, &quoted);
    }
  }
  return quoted + "\"";
}

std::string Quote(CFStringRef string) { return string == nullptr ? "none" : Quote(UnitsOf(string)); }

std::string FourCharCodeText(UInt32 code) {
  std::string characters;
  for (int shift = 24; shift >= 0; shift -= 8) {
    const char c = static_cast<char>((code >> shift) & 0xFF);
    if (c < 0x21 || c > 0x7E) {
      char hex[16];
      std::snprintf(hex, sizeof hex, "0x%08X", static_cast<unsigned>(code));
      return hex;
    }
    characters.push_back(c);
  }
  return characters;
}
