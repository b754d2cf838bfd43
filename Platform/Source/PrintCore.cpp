// Print sessions and tickets: the session's named data entries, tickets
// of string and Boolean entries with creator and lock, and the simulation
// calls through which the dialog host makes and inspects them.
#include <algorithm>
#include <set>
#include <vector>

#include "CFInternal.h"
#include "PlatformSimulation.h"

struct OpaquePMTicketRef {
  struct Entry {
    CFStringRef key;
    CFTypeRef value;
    CFStringRef creator;
    bool locked;
  };
  ~OpaquePMTicketRef() {
    for (Entry& entry : entries) {
      CFRelease(entry.key);
      CFRelease(entry.value);
      CFRelease(entry.creator);
    }
  }
  long references = 1;
  std::vector<Entry> entries;  // in the order each key was first set
};

struct OpaquePMPrintSession {
  struct Data {
    CFStringRef key;
    CFTypeRef value;
    PMTicketRef ticket;  // the ticket the entry stands for, held; or NULL
  };
  std::vector<Data> data;
};

namespace {

// Live tickets and sessions, so that a reference that is not one (such as
// an address cut down to 32 bits) is reported instead of followed.
std::set<const void*>& LiveTickets() {
  static auto* tickets = new std::set<const void*>();
  return *tickets;
}

std::set<const void*>& LiveSessions() {
  static auto* sessions = new std::set<const void*>();
  return *sessions;
}

OpaquePMTicketRef* Ticket(PMTicketRef ticket, const char* caller) {
  if (LiveTickets().count(ticket) == 0) {
    standin::Fatal("%s: %p is not a live ticket (an address cut short on the way?)", caller,
                   static_cast<void*>(ticket));
  }
  return ticket;
}

OpaquePMPrintSession* Session(PMPrintSession session, const char* caller) {
  if (LiveSessions().count(session) == 0) {
    standin::Fatal("%s: %p is not a live print session", caller, static_cast<void*>(session));
  }
  return session;
}

void ReleaseTicket(PMTicketRef ticket) {
  if (--Ticket(ticket, "SimReleaseTicket")->references == 0) {
    LiveTickets().erase(ticket);
    delete ticket;
  }
}

OpaquePMTicketRef::Entry* FindEntry(OpaquePMTicketRef* ticket, CFStringRef key) {
  for (auto& entry : ticket->entries) {
    if (CFEqual(entry.key, key)) return &entry;
  }
  return nullptr;
}

OSStatus Get(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2, CFStringRef key,
             CFTypeID type, CFTypeRef* value, const char* caller) {
  if (ticket == nullptr || key == nullptr || value == nullptr) return paramErr;
  OpaquePMTicketRef* t = Ticket(ticket, caller);
  if (nodeIndex1 != 0 || nodeIndex2 != 0) return kPMKeyNotFound;
  OpaquePMTicketRef::Entry* entry = FindEntry(t, key);
  if (entry == nullptr || CFGetTypeID(entry->value) != type) return kPMKeyNotFound;
  *value = entry->value;
  return noErr;
}

// Takes over the reference to value.
OSStatus Set(PMTicketRef ticket, CFStringRef clientID, CFStringRef key, CFTypeRef value,
             Boolean locked, const char* caller) {
  OpaquePMTicketRef* t = Ticket(ticket, caller);
  OpaquePMTicketRef::Entry* entry = FindEntry(t, key);
  if (entry != nullptr && entry->locked) {
    CFRelease(value);
    return kPMKeyLocked;
  }
  CFStringRef creator = CFStringCreateCopy(nullptr, clientID);
  if (entry != nullptr) {
    CFRelease(entry->value);
    CFRelease(entry->creator);
    entry->value = value;
    entry->creator = creator;
    entry->locked = locked;
  } else {
    t->entries.push_back({CFStringCreateCopy(nullptr, key), value, creator, locked != 0});
  }
  return noErr;
}

// Replaces (or with a NULL value removes) a session entry; takes over the
// references to value and ticket.
void SetSessionData(OpaquePMPrintSession* session, CFStringRef key, CFTypeRef value,
                    PMTicketRef ticket) {
  auto& data = session->data;
  for (auto it = data.begin(); it != data.end(); ++it) {
    if (!CFEqual(it->key, key)) continue;
    CFRelease(it->value);
    if (it->ticket != nullptr) ReleaseTicket(it->ticket);
    if (value == nullptr) {
      CFRelease(it->key);
      data.erase(it);
    } else {
      it->value = value;
      it->ticket = ticket;
    }
    return;
  }
  if (value != nullptr) data.push_back({CFStringCreateCopy(nullptr, key), value, ticket});
}

}  // namespace

OSStatus PMSessionGetDataFromSession(PMPrintSession printSession, CFStringRef key,
                                     CFTypeRef* data) {
  if (printSession == nullptr || key == nullptr || data == nullptr) return paramErr;
  for (const auto& entry : Session(printSession, "PMSessionGetDataFromSession")->data) {
    if (CFEqual(entry.key, key)) {
      *data = entry.value;
      return noErr;
    }
  }
  return kPMKeyNotFound;
}

OSStatus PMTicketGetCFString(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2,
                             CFStringRef key, CFStringRef* value) {
  CFTypeRef found = nullptr;
  OSStatus status = Get(ticket, nodeIndex1, nodeIndex2, key, CFStringGetTypeID(), &found,
                        "PMTicketGetCFString");
  if (status == noErr) *value = static_cast<CFStringRef>(found);
  return status;
}

OSStatus PMTicketGetBoolean(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2,
                            CFStringRef key, Boolean* value) {
  CFTypeRef found = nullptr;
  OSStatus status = Get(ticket, nodeIndex1, nodeIndex2, key, CFBooleanGetTypeID(), &found,
                        "PMTicketGetBoolean");
  if (status == noErr) *value = CFBooleanGetValue(static_cast<CFBooleanRef>(found));
  return status;
}

OSStatus PMTicketSetCFString(PMTicketRef ticket, CFStringRef clientID, CFStringRef key,
                             CFStringRef value, Boolean locked) {
  if (ticket == nullptr || clientID == nullptr || key == nullptr || value == nullptr) return paramErr;
  return Set(ticket, clientID, key, CFStringCreateCopy(nullptr, value), locked, "PMTicketSetCFString");
}

OSStatus PMTicketSetBoolean(PMTicketRef ticket, CFStringRef clientID, CFStringRef key,
                            Boolean value, Boolean locked) {
  if (ticket == nullptr || clientID == nullptr || key == nullptr) return paramErr;
  return Set(ticket, clientID, key, value ? kCFBooleanTrue : kCFBooleanFalse, locked,
             "PMTicketSetBoolean");
}

PMPrintSession SimCreatePrintSession(void) {
  auto* session = new OpaquePMPrintSession();
  LiveSessions().insert(session);
  return session;
}

void SimReleasePrintSession(PMPrintSession session) {
  OpaquePMPrintSession* s = Session(session, "SimReleasePrintSession");
  for (auto& entry : s->data) {
    CFRelease(entry.key);
    CFRelease(entry.value);
    if (entry.ticket != nullptr) ReleaseTicket(entry.ticket);
  }
  LiveSessions().erase(session);
  delete s;
}

OSStatus SimSessionSetData(PMPrintSession session, CFStringRef key, CFTypeRef value) {
  if (session == nullptr || key == nullptr) return paramErr;
  SetSessionData(Session(session, "SimSessionSetData"), key,
                 value != nullptr ? CFRetain(value) : nullptr, nullptr);
  return noErr;
}

OSStatus SimSessionSetTicket(PMPrintSession session, CFStringRef key, PMTicketRef ticket) {
  if (session == nullptr || key == nullptr || ticket == nullptr) return paramErr;
  OpaquePMPrintSession* s = Session(session, "SimSessionSetTicket");
  ++Ticket(ticket, "SimSessionSetTicket")->references;
  long address = reinterpret_cast<long>(ticket);
  SetSessionData(s, key, CFNumberCreate(nullptr, kCFNumberLongType, &address), ticket);
  return noErr;
}

PMTicketRef SimCreateTicket(void) {
  auto* ticket = new OpaquePMTicketRef();
  LiveTickets().insert(ticket);
  return ticket;
}

void SimReleaseTicket(PMTicketRef ticket) { ReleaseTicket(ticket); }

CFIndex SimTicketGetEntryCount(PMTicketRef ticket) {
  return static_cast<CFIndex>(Ticket(ticket, "SimTicketGetEntryCount")->entries.size());
}

Boolean SimTicketGetEntry(PMTicketRef ticket, CFIndex index, SimTicketEntry* outEntry) {
  OpaquePMTicketRef* t = Ticket(ticket, "SimTicketGetEntry");
  if (index < 0 || static_cast<size_t>(index) >= t->entries.size() || outEntry == nullptr) return false;
  const auto& entry = t->entries[static_cast<size_t>(index)];
  *outEntry = {entry.key, entry.value, entry.creator, entry.locked};
  return true;
}
