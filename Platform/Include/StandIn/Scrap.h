/* Scrap.h: the clipboard: GetCurrentScrap, GetScrapFlavorSize and
 * GetScrapFlavorData. The scrap holds flavors of bytes by type; the plain
 * text flavor kScrapFlavorTypeText ('TEXT') is Mac OS Roman text. A flavor
 * the scrap lacks gives noTypeErr. The dialog host and the tests put text
 * on the scrap through the simulation calls. */
#ifndef JOBLOG_STANDIN_SCRAP_H
#define JOBLOG_STANDIN_SCRAP_H

#include "HIToolboxTypes.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef FourCharCode ScrapFlavorType;
enum {
  kScrapFlavorTypeText = 0x54455854 /* 'TEXT' */
};

enum {
  noTypeErr = -102
};

OSStatus GetCurrentScrap(ScrapRef* scrap);
OSStatus GetScrapFlavorSize(ScrapRef scrap, ScrapFlavorType flavorType, Size* byteCount);
/* *byteCount: in, the room at destination; out, the bytes copied (at most
 * the flavor's size). */
OSStatus GetScrapFlavorData(ScrapRef scrap, ScrapFlavorType flavorType, Size* byteCount,
                            void* destination);

#ifdef __cplusplus
}
#endif

#endif
