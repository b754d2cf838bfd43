// Popup menus: items with their texts and marks.
#include "HIToolboxInternal.h"

namespace {

OpaqueMenuRef::Item* ItemOf(MenuRef menu, MenuItemIndex item) {
  if (menu == nullptr || item < 1 || item > menu->items.size()) return nullptr;
  return &menu->items[item - 1u];
}

}  // namespace

void SetItemMark(MenuRef theMenu, MenuItemIndex item, CharParameter markChar) {
  if (OpaqueMenuRef::Item* entry = ItemOf(theMenu, item)) entry->mark = markChar;
}

UInt16 SimCountMenuItems(MenuRef menu) {
  return menu != nullptr ? static_cast<UInt16>(menu->items.size()) : 0;
}

CFStringRef SimCopyMenuItemText(MenuRef menu, MenuItemIndex item) {
  const OpaqueMenuRef::Item* entry = ItemOf(menu, item);
  return entry != nullptr ? standin::NewString(entry->text) : nullptr;
}

CharParameter SimGetItemMark(MenuRef menu, MenuItemIndex item) {
  const OpaqueMenuRef::Item* entry = ItemOf(menu, item);
  return entry != nullptr ? entry->mark : 0;
}
