// Script lines: comments, blank lines and the words of a command.
#include "ScriptReader.h"

#include "TextFormat.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads the hex digits of \u or \U at line[*at] and appends the character.
bool AppendCharacter(const std::string& line, size_t* at, size_t digits, std::string* word,
                     std::string* problem) {
  char32_t code = 0;
  for (size_t k = 0; k < digits; ++k) {
    const int value = *at + k < line.size() ? HexValue(line[*at + k]) : -1;
    if (value < 0) {
      *problem = "\\" + std::string(digits == 4 ? "u" : "U") + " needs " + std::to_string(digits) + " hex digits";
      return false;
    }
    code = code * 16 + static_cast<char32_t>(value);
  }
  *at += digits;
  if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
    *problem = "an escape names no character that a text can hold";
    return false;
  }
  std::u16string units;
  if (code >= 0x10000) {
    units.push_back(static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10)));
    units.push_back(static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF)));
  } else {
    units.push_back(static_cast<char16_t>(code));
  }
  std::string encoded;
  EncodeUTF8(units, &encoded);
  *word += encoded;
  return true;
}

// Reads a quoted part whose opening quote is at line[*at].
bool ReadQuoted(const std::string& line, size_t* at, std::string* word, std::string* problem) {
  for (++*at; *at < line.size();) {
    const char c = line[(*at)++];
    if (c == '"') return true;
    if (c != '\\') {
      word->push_back(c);
      continue;
    }
    if (*at >= line.size()) break;
    const char escaped = line[(*at)++];
    switch (escaped) {
      case '"': word->push_back('"'); break;
      case '\\': word->push_back('\\'); break;
      case 'n': word->push_back('\n'); break;
      case 'r': word->push_back('\r'); break;
      case 't': word->push_back('\t'); break;
      case 'u':
        if (!AppendCharacter(line, at, 4, word, problem)) return false;
        break;
      case 'U':
        if (!AppendCharacter(line, at, 8, word, problem)) return false;
        break;
      default:
        *problem = std::string("unknown escape \\") + escaped;
        return false;
    }
  }
  *problem = "a quote is not closed";
  return false;
}

}  // namespace

bool IsBlankOrComment(const std::string& line) {
  for (char c : line) {
    if (IsBlank(c)) continue;
    return c == '#';
  }
  return true;
}

bool SplitWords(const std::string& line, std::vector<std::string>* words, std::string* problem) {
  words->clear();
  std::u16string units;
  if (line.find('\0') != std::string::npos || !DecodeUTF8(line, &units)) {
    *problem = "the line is not UTF-8 text";
    return false;
  }
  size_t at = 0;
  while (at < line.size()) {
    if (IsBlank(line[at])) {
      ++at;
      continue;
    }
    std::string word;
    while (at < line.size() && !IsBlank(line[at])) {
      if (line[at] == '"') {
        if (!ReadQuoted(line, &at, &word, problem)) return false;
      } else {
        word.push_back(line[at++]);
      }
    }
    words->push_back(word);
  }
  return true;
}
