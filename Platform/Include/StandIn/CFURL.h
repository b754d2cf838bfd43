/* CFURL.h: file URLs: CFURLCreateWithFileSystemPath,
 * CFURLCopyFileSystemPath, CFURLGetFileSystemRepresentation,
 * CFURLCreateDataAndPropertiesFromResource and CFURLGetTypeID.
 * Only POSIX paths exist; a relative path is taken against the current
 * directory when the URL is made. Reading a resource reads the whole file;
 * properties are not offered (asking for them is an error). */
#ifndef JOBLOG_STANDIN_CFURL_H
#define JOBLOG_STANDIN_CFURL_H

#include "CFBase.h"
#include "CFCollections.h"
#include "CFData.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef const struct OpaqueCFURL* CFURLRef;

typedef CFIndex CFURLPathStyle;
enum {
  kCFURLPOSIXPathStyle = 0
};

/* Error codes of CFURLCreateDataAndPropertiesFromResource. */
enum {
  kCFURLUnknownError = -10,
  kCFURLResourceNotFoundError = -12,
  kCFURLResourceAccessViolationError = -13
};

CFTypeID CFURLGetTypeID(void);
CFURLRef CFURLCreateWithFileSystemPath(CFAllocatorRef allocator, CFStringRef filePath,
                                       CFURLPathStyle pathStyle, Boolean isDirectory);
CFStringRef CFURLCopyFileSystemPath(CFURLRef anURL, CFURLPathStyle pathStyle);
/* Writes the path as a NUL-terminated UTF-8 string; false when it does not
 * fit in maxBufLen bytes. */
Boolean CFURLGetFileSystemRepresentation(CFURLRef url, Boolean resolveAgainstBase,
                                         UInt8* buffer, CFIndex maxBufLen);
/* Reads the file into a new data object that the caller releases. On
 * failure returns false, stores NULL and, if errorCode is given, one of the
 * codes above. properties and desiredProperties must be NULL. */
Boolean CFURLCreateDataAndPropertiesFromResource(CFAllocatorRef alloc, CFURLRef url,
                                                 CFDataRef* resourceData,
                                                 CFDictionaryRef* properties,
                                                 CFArrayRef desiredProperties,
                                                 SInt32* errorCode);

#ifdef __cplusplus
}
#endif

#endif
