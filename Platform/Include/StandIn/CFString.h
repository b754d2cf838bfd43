/* CFString.h: immutable strings: CFSTR, CFStringCreateWithCString,
 * CFStringCreateWithFormat, CFStringCreateCopy, CFStringGetLength,
 * CFStringGetCharacterAtIndex, CFStringGetCString, CFStringGetPascalString,
 * CFStringCompare and CFStringGetTypeID.
 * A string holds UTF-16 code units, so its length counts UTF-16 units.
 * CFSTR constants are interned by content and live for the whole process.
 * Encodings: UTF-8, ASCII and Mac OS Roman (through iconv's "MACINTOSH");
 * a conversion fails, rather than substituting, for a character the
 * encoding lacks or a buffer that is too small. CFStringCompare offers the
 * literal comparison only (options 0: UTF-16 unit by unit, case-sensitive,
 * no normalisation); any other option stops the program with a message.
 * CFStringCreateWithFormat understands the printf conversions for integers,
 * floating point numbers, characters and C strings (%s is UTF-8 text here),
 * with flags, width, precision and the length modifiers hh h l ll z t j L,
 * plus %@ for an object (a string's text, a number's value); a format it
 * cannot read, or positional arguments, give NULL. */
#ifndef JOBLOG_STANDIN_CFSTRING_H
#define JOBLOG_STANDIN_CFSTRING_H

#include <stdarg.h>

#include "CFBase.h"
#include "CFCollections.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef UInt32 CFStringEncoding;
enum {
  kCFStringEncodingMacRoman = 0,
  kCFStringEncodingASCII = 0x0600,
  kCFStringEncodingUTF8 = 0x08000100
};

typedef CFOptionFlags CFStringCompareFlags;

CFStringRef CFStringMakeConstantString(const char* cString);
#define CFSTR(cStr) CFStringMakeConstantString("" cStr "")

CFTypeID CFStringGetTypeID(void);

CFStringRef CFStringCreateWithCString(CFAllocatorRef alloc, const char* cStr,
                                      CFStringEncoding encoding);
CFStringRef CFStringCreateCopy(CFAllocatorRef alloc, CFStringRef theString);
CFStringRef CFStringCreateWithFormat(CFAllocatorRef alloc, CFDictionaryRef formatOptions,
                                     CFStringRef format, ...);
CFStringRef CFStringCreateWithFormatAndArguments(CFAllocatorRef alloc,
                                                 CFDictionaryRef formatOptions,
                                                 CFStringRef format, va_list arguments);

CFIndex CFStringGetLength(CFStringRef theString);
UniChar CFStringGetCharacterAtIndex(CFStringRef theString, CFIndex idx);

/* Writes the text and a terminating NUL; false when the encoding lacks a
 * character or bufferSize cannot hold the text and the NUL. */
Boolean CFStringGetCString(CFStringRef theString, char* buffer, CFIndex bufferSize,
                           CFStringEncoding encoding);

/* Writes a length byte and the encoded text; false when the encoding lacks
 * a character, the text needs more than 255 bytes or more than
 * bufferSize - 1. On failure the buffer holds an empty Pascal string. */
Boolean CFStringGetPascalString(CFStringRef theString, StringPtr buffer, CFIndex bufferSize,
                                CFStringEncoding encoding);

CFComparisonResult CFStringCompare(CFStringRef theString1, CFStringRef theString2,
                                   CFStringCompareFlags compareOptions);

#ifdef __cplusplus
}
#endif

#endif
