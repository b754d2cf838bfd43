/* PrintCore.h: the print session's data and tickets:
 * PMSessionGetDataFromSession, PMTicketGetCFString, PMTicketGetBoolean,
 * PMTicketSetCFString and PMTicketSetBoolean.
 *
 * Behaviour reproduced:
 * - A print session holds data entries by name. The printing system puts
 *   its tickets there: "PMPrinterInfoTicket" and "PMPrintSettingsTicket"
 *   each hold a CFNumber of type kCFNumberLongType (pointer-sized) whose
 *   value is the PMTicketRef. Read it with
 *       CFNumberGetValue(value, kCFNumberLongType, &ticketRef);
 *   (the 32-bit platform used a signed 32-bit number, which cannot carry a
 *   64-bit address: reading as kCFNumberSInt32Type fails for a ticket above
 *   4 GiB). The value got from the session is borrowed; the ticket lives as
 *   long as the session holds it.
 * - A ticket holds entries by key, in the order they were first set, each
 *   with its value (a string or a Boolean), its creator (the client ID
 *   given when it was set) and its locked flag. Only the top level exists:
 *   both node indexes must be 0.
 * - Getting an entry that is absent, or not of the asked type, gives
 *   kPMKeyNotFound and leaves the out value alone. A string got is
 *   borrowed from the ticket.
 * - Setting keeps the ticket's own copy of the string (the caller may
 *   release its own at once) and replaces an earlier entry of the key, of
 *   either type, keeping its place; a locked entry cannot be replaced
 *   (kPMKeyLocked).
 * Sessions and tickets are made by the dialog host (PlatformSimulation.h). */
#ifndef JOBLOG_STANDIN_PRINTCORE_H
#define JOBLOG_STANDIN_PRINTCORE_H

#include "CFBase.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct OpaquePMPrintSession* PMPrintSession;
typedef struct OpaquePMTicketRef* PMTicketRef;

enum {
  kPMKeyNotFound = -30891,
  kPMKeyLocked = -30892
};

/* data: borrowed. kPMKeyNotFound when the session has no such entry,
 * paramErr for a NULL argument. */
OSStatus PMSessionGetDataFromSession(PMPrintSession printSession, CFStringRef key,
                                     CFTypeRef* data);

OSStatus PMTicketGetCFString(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2,
                             CFStringRef key, CFStringRef* value);
OSStatus PMTicketGetBoolean(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2,
                            CFStringRef key, Boolean* value);
OSStatus PMTicketSetCFString(PMTicketRef ticket, CFStringRef clientID, CFStringRef key,
                             CFStringRef value, Boolean locked);
OSStatus PMTicketSetBoolean(PMTicketRef ticket, CFStringRef clientID, CFStringRef key,
                            Boolean value, Boolean locked);

#ifdef __cplusplus
}
#endif

#endif
