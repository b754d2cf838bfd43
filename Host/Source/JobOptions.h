// What the printing system does with the print-settings ticket when a job is
// submitted: every entry becomes a CUPS job option, and the options travel as
// one argument (a filter's argv[5], lp's -o) that cupsParseOptions reads back.
#ifndef PDEHOST_JOBOPTIONS_H
#define PDEHOST_JOBOPTIONS_H

#include <string>
#include <vector>

#include "JobLogPlatform.h"

struct JobOption {
  std::string name;
  std::string value;
};

// The ticket's entries as job options, in the ticket's order: a string entry
// under its key with its text, a Boolean entry under its key followed by
// "..b." with the value True or False. False, with the reason in *problem,
// when a key or a text has no UTF-8 form.
bool JobOptionsFromTicket(PMTicketRef ticket, std::vector<JobOption>* options, std::string* problem);

// The options as one argument for cupsParseOptions: name=value pairs joined by
// single spaces. A value that is empty, begins with '{' or holds a blank, a
// quote or a backslash is written in double quotes, with '"' and '\' escaped
// by a backslash. False, with the reason in *problem, for a name that cannot
// be an option name (empty, or holding a blank, '=' or NUL) or a value that
// holds NUL.
bool FormatJobOptions(const std::vector<JobOption>& options, std::string* line, std::string* problem);

#endif
