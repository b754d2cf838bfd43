// Print-settings ticket entries as CUPS job options, and the options as the
// one argument that cupsParseOptions reads.
#include "JobOptions.h"

#include "PlatformSimulation.h"
#include "TextFormat.h"

namespace {

// The characters that end a name or an unquoted value for cupsParseOptions.
const char kOptionBlanks[] = " \f\n\r\t\v";

bool NeedsQuotes(const std::string& value) {
  if (value.empty() || value[0] == '{') return true;
  return value.find_first_of(std::string(kOptionBlanks) + "\"'\\") != std::string::npos;
}

}  // namespace

bool JobOptionsFromTicket(PMTicketRef ticket, std::vector<JobOption>* options, std::string* problem) {
  options->clear();
  SimTicketEntry entry;
  for (CFIndex i = 0; SimTicketGetEntry(ticket, i, &entry); ++i) {
    JobOption option;
    if (!EncodeUTF8(UnitsOf(entry.key), &option.name)) {
      *problem = "a ticket key has no UTF-8 form";
      return false;
    }
    if (CFGetTypeID(entry.value) == CFBooleanGetTypeID()) {
      option.name += "..b.";
      option.value = CFBooleanGetValue(static_cast<CFBooleanRef>(entry.value)) ? "True" : "False";
    } else if (!EncodeUTF8(UnitsOf(static_cast<CFStringRef>(entry.value)), &option.value)) {
      *problem = "the text of the ticket entry " + option.name + " has no UTF-8 form";
      return false;
    }
    options->push_back(option);
  }
  return true;
}

bool FormatJobOptions(const std::vector<JobOption>& options, std::string* line, std::string* problem) {
  line->clear();
  for (const JobOption& option : options) {
    if (option.name.empty() || option.name.find_first_of(std::string(kOptionBlanks) + "=") != std::string::npos ||
        option.name.find('\0') != std::string::npos) {
      *problem = "\"" + option.name + "\" cannot be a job option name";
      return false;
    }
    if (option.value.find('\0') != std::string::npos) {
      *problem = "the value of " + option.name + " holds a NUL character";
      return false;
    }
    if (!line->empty()) *line += ' ';
    *line += option.name + '=';
    if (!NeedsQuotes(option.value)) {
      *line += option.value;
      continue;
    }
    *line += '"';
    for (char c : option.value) {
      if (c == '"' || c == '\\') *line += '\\';
      *line += c;
    }
    *line += '"';
  }
  return true;
}
