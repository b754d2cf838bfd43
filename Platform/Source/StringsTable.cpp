// The strings-table text form of localized strings:
//     /* translator note */
//     "key" = "value";
// decoded from UTF-8 or byte-order-marked UTF-16 and read into a dictionary.
#include <string>

#include "BundleInternal.h"

namespace {

class Parser {
 public:
  explicit Parser(std::u16string text) : text_(std::move(text)) {}

  // Fills entries; false with *problem on the first fault.
  bool Parse(std::vector<std::pair<CFTypeRef, CFTypeRef>>* entries, std::string* problem) {
    while (true) {
      if (!SkipSpace()) return Fail(problem);
      if (pos_ >= text_.size()) return true;
      std::u16string key;
      std::u16string value;
      if (!ReadString(&key)) return Fail(problem);
      if (!SkipSpace()) return Fail(problem);
      if (Peek() == u'=') {
        ++pos_;
        if (!SkipSpace()) return Fail(problem);
        if (!ReadString(&value)) return Fail(problem);
        if (!SkipSpace()) return Fail(problem);
      } else {
        value = key;
      }
      if (Peek() != u';') {
        error_ = "';' expected";
        return Fail(problem);
      }
      ++pos_;
      entries->emplace_back(standin::NewString(std::move(key)), standin::NewString(std::move(value)));
    }
  }

 private:
  char16_t Peek() const { return pos_ < text_.size() ? text_[pos_] : u'\0'; }

  bool Fail(std::string* problem) const {
    size_t line = 1;
    for (size_t i = 0; i < pos_ && i < text_.size(); ++i) {
      if (text_[i] == u'\n') ++line;
    }
    *problem = "line " + std::to_string(line) + ": " + error_;
    return false;
  }

  // Skips white space and comments; false for a comment left open.
  bool SkipSpace() {
    while (pos_ < text_.size()) {
      char16_t c = text_[pos_];
      if (c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\f' || c == u'\v' ||
          c == 0xFEFF) {
        ++pos_;
      } else if (c == u'/' && pos_ + 1 < text_.size() && text_[pos_ + 1] == u'*') {
        size_t end = text_.find(u"*/", pos_ + 2);
        if (end == std::u16string::npos) {
          error_ = "comment not closed";
          return false;
        }
        pos_ = end + 2;
      } else if (c == u'/' && pos_ + 1 < text_.size() && text_[pos_ + 1] == u'/') {
        while (pos_ < text_.size() && text_[pos_] != u'\n') ++pos_;
      } else {
        break;
      }
    }
    return true;
  }

  static bool IsBare(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
           c == u'_' || c == u'$' || c == u'+' || c == u'/' || c == u':' || c == u'.' || c == u'-';
  }

  static int Hex(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
  }

  bool ReadString(std::u16string* out) {
    if (Peek() != u'"') {
      size_t start = pos_;
      while (pos_ < text_.size() && IsBare(text_[pos_])) ++pos_;
      if (pos_ == start) {
        error_ = pos_ >= text_.size() ? "text ends where a string was expected" : "string expected";
        return false;
      }
      out->assign(text_, start, pos_ - start);
      return true;
    }
    ++pos_;
    while (pos_ < text_.size() && text_[pos_] != u'"') {
      char16_t c = text_[pos_++];
      if (c != u'\\') {
        *out += c;
        continue;
      }
      if (pos_ >= text_.size()) break;
      char16_t e = text_[pos_++];
      switch (e) {
        case u'n': *out += u'\n'; break;
        case u't': *out += u'\t'; break;
        case u'r': *out += u'\r'; break;
        case u'a': *out += u'\a'; break;
        case u'b': *out += u'\b'; break;
        case u'f': *out += u'\f'; break;
        case u'v': *out += u'\v'; break;
        case u'u':
        case u'U': {
          unsigned value = 0;
          for (int i = 0; i < 4; ++i) {
            int digit = Hex(Peek());
            if (digit < 0) {
              error_ = "\\u needs four hex digits";
              return false;
            }
            value = value << 4 | static_cast<unsigned>(digit);
            ++pos_;
          }
          *out += static_cast<char16_t>(value);
          break;
        }
        default:
          if (e >= u'0' && e <= u'7') {
            unsigned value = e - u'0';
            for (int i = 0; i < 2 && Peek() >= u'0' && Peek() <= u'7'; ++i) {
              value = value << 3 | static_cast<unsigned>(text_[pos_++] - u'0');
            }
            *out += static_cast<char16_t>(value);
          } else {
            *out += e;  // \" \\ \' and any other character stand for themselves
          }
      }
    }
    if (pos_ >= text_.size()) {
      error_ = "string not closed";
      return false;
    }
    ++pos_;  // the closing quote
    return true;
  }

  std::u16string text_;
  size_t pos_ = 0;
  std::string error_;
};

}  // namespace

CFDictionaryRef standin::ParseStringsTable(const std::string& bytes, std::string* problem) {
  std::u16string text;
  bool decoded;
  if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
      static_cast<unsigned char>(bytes[1]) == 0xFE) {
    decoded = DecodeUTF16Bytes(bytes.substr(2), false, &text);
  } else if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFE &&
             static_cast<unsigned char>(bytes[1]) == 0xFF) {
    decoded = DecodeUTF16Bytes(bytes.substr(2), true, &text);
  } else {
    decoded = DecodeText(bytes, kCFStringEncodingUTF8, &text);  // a UTF-8 mark becomes U+FEFF, skipped as space
  }
  if (!decoded) {
    *problem = "neither UTF-8 nor UTF-16 with a byte-order mark";
    return nullptr;
  }
  std::vector<std::pair<CFTypeRef, CFTypeRef>> entries;
  if (!Parser(std::move(text)).Parse(&entries, problem)) {
    for (auto& entry : entries) {
      CFRelease(entry.first);
      CFRelease(entry.second);
    }
    return nullptr;
  }
  return NewDictionary(std::move(entries));
}
