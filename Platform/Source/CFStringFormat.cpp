// CFStringCreateWithFormat: printf-style formatting into a new string. Each
// conversion is read here, its argument taken with the right type, and the
// conversion handed to snprintf; %@ inserts an object's description.
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <string>

#include "CFInternal.h"

namespace {

template <typename T>
void AppendFormatted(std::string* out, const std::string& directive, T value) {
  int needed = std::snprintf(nullptr, 0, directive.c_str(), value);
  if (needed <= 0) return;
  std::string piece(static_cast<size_t>(needed) + 1, '\0');
  std::snprintf(&piece[0], piece.size(), directive.c_str(), value);
  piece.resize(static_cast<size_t>(needed));
  *out += piece;
}

bool IsFlag(char c) { return c == '-' || c == '+' || c == ' ' || c == '#' || c == '0'; }

// Formats into *out; false for a conversion it cannot read (the arguments
// after it could not be taken safely).
bool Format(const std::string& format, va_list arguments, std::string* out) {
  size_t i = 0;
  const size_t n = format.size();
  while (i < n) {
    char c = format[i++];
    if (c != '%') {
      *out += c;
      continue;
    }
    if (i < n && format[i] == '%') {
      *out += '%';
      ++i;
      continue;
    }
    std::string directive = "%";
    while (i < n && IsFlag(format[i])) directive += format[i++];
    // Width.
    if (i < n && format[i] == '*') {
      directive += std::to_string(va_arg(arguments, int));
      ++i;
    } else {
      size_t start = i;
      while (i < n && format[i] >= '0' && format[i] <= '9') ++i;
      if (i < n && format[i] == '$') return false;  // positional arguments
      directive.append(format, start, i - start);
    }
    // Precision.
    if (i < n && format[i] == '.') {
      directive += format[i++];
      if (i < n && format[i] == '*') {
        directive += std::to_string(va_arg(arguments, int));
        ++i;
      } else {
        while (i < n && format[i] >= '0' && format[i] <= '9') directive += format[i++];
      }
    }
    // Length.
    std::string length;
    while (i < n && std::strchr("hlqLzjt", format[i]) != nullptr) length += format[i++];
    if (i >= n) return false;
    const char conversion = format[i++];
    switch (conversion) {
      case 'd':
      case 'i': {
        long long value;
        if (length.empty()) value = va_arg(arguments, int);
        else if (length == "hh") value = static_cast<signed char>(va_arg(arguments, int));
        else if (length == "h") value = static_cast<short>(va_arg(arguments, int));
        else if (length == "l") value = va_arg(arguments, long);
        else if (length == "ll" || length == "q") value = va_arg(arguments, long long);
        else if (length == "z" || length == "t") value = va_arg(arguments, ptrdiff_t);
        else if (length == "j") value = va_arg(arguments, intmax_t);
        else return false;
        AppendFormatted(out, directive + "ll" + conversion, value);
        break;
      }
      case 'u':
      case 'o':
      case 'x':
      case 'X': {
        unsigned long long value;
        if (length.empty()) value = va_arg(arguments, unsigned int);
        else if (length == "hh") value = static_cast<unsigned char>(va_arg(arguments, unsigned int));
        else if (length == "h") value = static_cast<unsigned short>(va_arg(arguments, unsigned int));
        else if (length == "l") value = va_arg(arguments, unsigned long);
        else if (length == "ll" || length == "q") value = va_arg(arguments, unsigned long long);
        else if (length == "z" || length == "t") value = va_arg(arguments, size_t);
        else if (length == "j") value = va_arg(arguments, uintmax_t);
        else return false;
        AppendFormatted(out, directive + "ll" + conversion, value);
        break;
      }
      case 'c':
        if (!length.empty()) return false;
        AppendFormatted(out, directive + 'c', va_arg(arguments, int));
        break;
      case 's': {
        if (!length.empty()) return false;
        const char* text = va_arg(arguments, const char*);
        AppendFormatted(out, directive + 's', text != nullptr ? text : "(null)");
        break;
      }
      case 'p':
        if (!length.empty()) return false;
        AppendFormatted(out, directive + 'p', va_arg(arguments, void*));
        break;
      case 'f':
      case 'F':
      case 'e':
      case 'E':
      case 'g':
      case 'G':
      case 'a':
      case 'A':
        if (length == "L") AppendFormatted(out, directive + 'L' + conversion, va_arg(arguments, long double));
        else if (length.empty() || length == "l") AppendFormatted(out, directive + conversion, va_arg(arguments, double));
        else return false;
        break;
      case '@': {
        if (!length.empty()) return false;
        std::string description = standin::Describe(va_arg(arguments, CFTypeRef));
        AppendFormatted(out, directive + 's', description.c_str());
        break;
      }
      default:
        return false;
    }
  }
  return true;
}

}  // namespace

CFStringRef CFStringCreateWithFormatAndArguments(CFAllocatorRef, CFDictionaryRef,
                                                 CFStringRef format, va_list arguments) {
  std::string formatText = standin::UTF8(format);
  if (formatText.empty() && CFStringGetLength(format) != 0) return nullptr;
  std::string out;
  va_list copy;
  va_copy(copy, arguments);
  bool ok = Format(formatText, copy, &out);
  va_end(copy);
  if (!ok) return nullptr;
  return standin::NewStringFromUTF8(out);  // NULL when %s brought bytes that are not UTF-8
}

CFStringRef CFStringCreateWithFormat(CFAllocatorRef alloc, CFDictionaryRef formatOptions,
                                     CFStringRef format, ...) {
  va_list arguments;
  va_start(arguments, format);
  CFStringRef result = CFStringCreateWithFormatAndArguments(alloc, formatOptions, format, arguments);
  va_end(arguments);
  return result;
}
