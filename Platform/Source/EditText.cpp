// The edit text's standard handling of command events: paste replaces the
// selection with the scrap's text, select all selects the whole text; any
// other command, and any command to another kind of control, goes on
// unhandled to the control's embedder.
#include "HIToolboxInternal.h"

OSStatus standin::StandardControlHandling(ControlRef control, EventRef event) {
  if (event->eventClass != kEventClassCommand || event->eventKind != kEventCommandProcess ||
      !IsEditText(control)) {
    return eventNotHandledErr;
  }
  HICommand command;
  if (GetEventParameter(event, kEventParamDirectObject, typeHICommand, nullptr, sizeof command,
                        nullptr, &command) != noErr) {
    return eventNotHandledErr;
  }
  switch (command.commandID) {
    case kHICommandPaste: {
      // The 'TEXT' flavor is Mac OS Roman, where every byte is a character.
      const std::string* bytes = ScrapText();
      std::u16string text;
      if (bytes != nullptr && DecodeText(*bytes, kCFStringEncodingMacRoman, &text)) {
        ReplaceSelection(control, text);
      }
      return noErr;
    }
    case kHICommandSelectAll:
      control->selStart = 0;
      control->selEnd = control->text.size();
      return noErr;
    default:
      return eventNotHandledErr;
  }
}
