// Text between the host's script and output (UTF-8) and the platform's strings
// (UTF-16 units): conversion both ways and the quoted form every text value
// takes in the host's output.
#ifndef PDEHOST_TEXTFORMAT_H
#define PDEHOST_TEXTFORMAT_H

#include <string>

#include "JobLogPlatform.h"

// The UTF-16 units of the UTF-8 text; false when the text is not UTF-8.
bool DecodeUTF8(const std::string& text, std::u16string* units);

// The UTF-8 form of the units; false when they hold an unpaired surrogate.
bool EncodeUTF8(const std::u16string& units, std::string* text);

// A new string of the UTF-8 text, or NULL when it is not UTF-8. The caller
// releases it.
CFStringRef CreateStringFromUTF8(const std::string& text);

// The units of a string; none for NULL.
std::u16string UnitsOf(CFStringRef string);

// The text in double quotes, readable back by the script reader: '"' and '\'
// are escaped, line breaks and tabs are \n \r \t, other control characters
// and unpaired surrogates \uXXXX, and everything else is written as UTF-8.
std::string Quote(const std::u16string& units);
// The same for a string, and "none" (without quotes) for NULL.
std::string Quote(CFStringRef string);

// A four-character code as its four characters when they are printable
// ASCII, else as 0x followed by eight hex digits.
std::string FourCharCodeText(UInt32 code);

#endif
