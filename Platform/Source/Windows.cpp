// Windows: content bounds, the root control, disposal; the dialog host's
// window and user pane; and QuickDraw's OffsetRect.
#include "HIToolboxInternal.h"

OpaqueWindowPtr::OpaqueWindowPtr(const Rect& content)
    : contentBounds(content), root(std::make_unique<OpaqueControlRef>(kSimControlRoot, this)),
      target(nullptr, this) {
  root->bounds = {0, 0, static_cast<SInt16>(content.bottom - content.top),
                  static_cast<SInt16>(content.right - content.left)};
}

OSStatus GetWindowBounds(WindowRef window, WindowRegionCode regionCode, Rect* globalBounds) {
  if (window == nullptr || globalBounds == nullptr || regionCode != kWindowContentRgn) return paramErr;
  *globalBounds = window->contentBounds;
  return noErr;
}

void DisposeWindow(WindowRef window) {
  if (window == nullptr) return;
  window->focus = nullptr;
  delete window;
}

void OffsetRect(Rect* r, SInt16 dh, SInt16 dv) {
  if (r == nullptr) return;
  r->left = static_cast<SInt16>(r->left + dh);
  r->right = static_cast<SInt16>(r->right + dh);
  r->top = static_cast<SInt16>(r->top + dv);
  r->bottom = static_cast<SInt16>(r->bottom + dv);
}

WindowRef SimCreateWindow(const Rect* contentBounds) {
  if (contentBounds == nullptr) return nullptr;
  return new OpaqueWindowPtr(*contentBounds);
}

ControlRef SimCreateUserPane(WindowRef window, ControlRef parent, const Rect* bounds) {
  if (window == nullptr || bounds == nullptr) return nullptr;
  if (parent == nullptr) parent = window->root.get();
  if (parent->window != window ||
      (parent->kind != kSimControlRoot && parent->kind != kSimControlUserPane)) {
    return nullptr;
  }
  ControlRef pane = standin::NewControl(kSimControlUserPane, parent);
  pane->bounds = *bounds;
  return pane;
}
