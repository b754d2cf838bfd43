/* Menus.h: SetItemMark. A menu belongs to its popup button
 * (GetControlPopupMenuHandle in Controls.h); its items are numbered from 1
 * and each has a text and a mark character (0 for none). A mark is plain
 * data here: choosing an item does not move it. An item number outside the
 * menu is ignored, as on the platform. */
#ifndef JOBLOG_STANDIN_MENUS_H
#define JOBLOG_STANDIN_MENUS_H

#include "HIToolboxTypes.h"

#ifdef __cplusplus
extern "C" {
#endif

void SetItemMark(MenuRef theMenu, MenuItemIndex item, CharParameter markChar);

#ifdef __cplusplus
}
#endif

#endif
