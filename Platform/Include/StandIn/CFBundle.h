/* CFBundle.h: bundles: CFBundleCreate, CFBundleGetBundleWithIdentifier,
 * CFBundleGetIdentifier, CFBundleLoadExecutable,
 * CFBundleGetFunctionPointerForName, CFBundleCopyResourceURL,
 * CFBundleCopyLocalizedString and CFBundleGetTypeID.
 *
 * A bundle is a directory X/ holding Contents/Info.plist (a dictionary),
 * Contents/MacOS/<CFBundleExecutable> (a shared library, loaded with dlopen)
 * and Contents/Resources/. Creating a bundle for a directory that already
 * has a live bundle object returns that object retained, so a host and the
 * code it loads share one object; a live bundle is found by its
 * CFBundleIdentifier. Once loaded, the executable stays loaded for the life
 * of the process, as on the platform, where code is unloaded only on
 * request (there is no such request here). A bundle whose Info.plist
 * registers plug-in factories is also a plug-in (CFPlugIn.h).
 *
 * Localization. The user's languages are, in this order, each entry of
 * LANGUAGE (a colon list), then the first set one of LC_ALL, LC_MESSAGES and
 * LANG; "de_DE.UTF-8@euro" stands for "de_DE" and then "de"; "C" and
 * "POSIX" name no language. The bundle's localization is the first of them
 * for which Contents/Resources/<name>.lproj exists, else the Info.plist's
 * CFBundleDevelopmentRegion, else "en". Resources and strings tables are
 * looked for in that .lproj first, then in Contents/Resources itself.
 *
 * Strings tables (<table>.strings) use the platform's text form:
 *     "key" = "value";
 *     "key";             (maps the key to itself)
 * Block comments (the translator notes) and // line comments are skipped.
 * Strings are double-quoted (escapes \" \\ \n \t \r \uXXXX \UXXXX and
 * octal \NNN) or bare words of letters, digits and _$+/:.-. The file is
 * UTF-8 (an optional UTF-8 byte-order mark is skipped) or UTF-16 with a
 * byte-order mark. A table with a syntax error counts as empty and its
 * first error is reported once on standard error. */
#ifndef JOBLOG_STANDIN_CFBUNDLE_H
#define JOBLOG_STANDIN_CFBUNDLE_H

#include "CFBase.h"
#include "CFURL.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct OpaqueCFBundle* CFBundleRef;

CFTypeID CFBundleGetTypeID(void);
/* NULL when the directory or its Info.plist dictionary is missing. */
CFBundleRef CFBundleCreate(CFAllocatorRef allocator, CFURLRef bundleURL);
/* Borrowed; NULL when no live bundle has the identifier. */
CFBundleRef CFBundleGetBundleWithIdentifier(CFStringRef bundleID);
/* Borrowed; NULL when Info.plist has no CFBundleIdentifier string. */
CFStringRef CFBundleGetIdentifier(CFBundleRef bundle);
/* dlopen of the executable; true when it is loaded. A failure is reported
 * on standard error. */
Boolean CFBundleLoadExecutable(CFBundleRef bundle);
/* Loads the executable if needed; NULL when the symbol is not there. */
void* CFBundleGetFunctionPointerForName(CFBundleRef bundle, CFStringRef functionName);
/* name.type (or name alone when type is NULL or empty) in the localization's
 * .lproj/<subDirName>, then in Resources/<subDirName>; NULL when neither is
 * a file. The caller releases the URL. */
CFURLRef CFBundleCopyResourceURL(CFBundleRef bundle, CFStringRef resourceName,
                                 CFStringRef resourceType, CFStringRef subDirName);
/* The value of key in the strings table tableName ("Localizable" when
 * NULL); when the table lacks the key, value, or the key when value is NULL
 * or empty. Always a new string that the caller releases; NULL when bundle
 * or key is NULL. */
CFStringRef CFBundleCopyLocalizedString(CFBundleRef bundle, CFStringRef key, CFStringRef value,
                                        CFStringRef tableName);

#ifdef __cplusplus
}
#endif

#endif
