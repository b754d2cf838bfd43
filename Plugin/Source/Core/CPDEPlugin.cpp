// CPDEPlugin: the defaults of a pane's operations and the services every
// pane uses: its bundle, localized strings, nib controls moved into the
// print dialog's pane, and tickets from the print session.
#include "CPDEPlugin.h"

namespace {

const OSStatus kTicketNotFound = kPMKeyNotFound;  // -30891

SInt16 Width(const Rect& r) { return static_cast<SInt16>(r.right - r.left); }
SInt16 Height(const Rect& r) { return static_cast<SInt16>(r.bottom - r.top); }

// Half the room the pane has beyond the nib's content along one axis,
// rounded toward zero; none when the pane is not the larger.
SInt16 CentringOffset(SInt32 paneExtent, SInt32 nibExtent) {
  const SInt32 half = (paneExtent - nibExtent) / 2;
  return half < 0 ? 0 : static_cast<SInt16>(half);
}

}  // namespace

CPDEPlugin::CPDEPlugin(CFStringRef pluginBundleID)
    : mMainBundleRef(CFBundleGetBundleWithIdentifier(pluginBundleID)) {}

CPDEPlugin::~CPDEPlugin() {}

OSStatus CPDEPlugin::CreateUI(PMPDEFlags*, PMPDERef, ControlRef, PMPrintSession) { return noErr; }

OSStatus CPDEPlugin::OnOpenUI() { return noErr; }

OSStatus CPDEPlugin::OnCloseUI() { return noErr; }

OSStatus CPDEPlugin::GetSummaryText(CFMutableArrayRef, CFMutableArrayRef) { return noErr; }

OSStatus CPDEPlugin::TicketToUI(PMPrintSession) { return noErr; }

OSStatus CPDEPlugin::UIToTicket(PMPrintSession) { return noErr; }

CFBundleRef CPDEPlugin::GetMainBundle() const { return mMainBundleRef; }

CFStringRef CPDEPlugin::CopyLocalizedString(CFStringRef key, CFStringRef /*comment*/) {
  if (mMainBundleRef == NULL) return NULL;
  return CFBundleCopyLocalizedString(mMainBundleRef, key, key, NULL);
}

Boolean CPDEPlugin::EmbedControlsFromNib(WindowRef nibWindow, ControlRef userPane) {
  ControlRef rootControl = NULL;
  if (nibWindow == NULL || GetRootControl(nibWindow, &rootControl) != noErr || rootControl == NULL) {
    return false;
  }

  Rect nibFrame = {0, 0, 0, 0};
  Rect paneFrame = {0, 0, 0, 0};
  GetWindowBounds(nibWindow, kWindowContentRgn, &nibFrame);
  GetControlBounds(userPane, &paneFrame);

  UInt16 numControls = 0;
  if (CountSubControls(rootControl, &numControls) != noErr || numControls == 0) return true;

  const SInt16 dh = CentringOffset(Width(paneFrame), Width(nibFrame));
  const SInt16 dv = CentringOffset(Height(paneFrame), Height(nibFrame));

  // Each control that moves leaves the root, so the next one takes its
  // index. A control that cannot be shown or moved stays behind; the
  // following passes step past it instead of taking it again.
  UInt16 index = 1;
  for (UInt16 pass = 0; pass < numControls; ++pass) {
    ControlRef control = NULL;
    if (GetIndexedSubControl(rootControl, index, &control) != noErr || control == NULL) continue;

    Rect controlFrame = {0, 0, 0, 0};
    GetControlBounds(control, &controlFrame);
    OffsetRect(&controlFrame, static_cast<SInt16>(paneFrame.left + dh),
               static_cast<SInt16>(paneFrame.top + dv));
    SetControlBounds(control, &controlFrame);

    Boolean moved = false;
    if (SetControlVisibility(control, true, false) == noErr) {
      ShowControl(control);
      moved = EmbedControl(control, userPane) == noErr;
    }
    if (!moved) ++index;
  }
  return true;
}

OSStatus CPDEPlugin::GetTicketFromSession(PMPrintSession printSession, CFStringRef ticket,
                                          void* container) {
  CFTypeRef value = NULL;
  if (container == NULL || PMSessionGetDataFromSession(printSession, ticket, &value) != noErr ||
      value == NULL || CFGetTypeID(value) != CFNumberGetTypeID()) {
    return kTicketNotFound;
  }
  // The reference is an address: it travels in a pointer-sized number.
  long address = 0;
  if (!CFNumberGetValue(static_cast<CFNumberRef>(value), kCFNumberLongType, &address) ||
      address == 0) {
    return kTicketNotFound;
  }
  *static_cast<PMTicketRef*>(container) = reinterpret_cast<PMTicketRef>(address);
  return noErr;
}
