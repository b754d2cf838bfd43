// PDEInterface: the plug-in instance, the dialog-extension interface record
// with its function table, and the dispatchers from the print dialog's calls
// to the pane object. The print dialog touches these records directly, so
// they are plain C records made with calloc and freed with free.
#include "PDEInterface.h"

#include <cstdlib>

#include "CPDEPlugin.h"

namespace {

// Results given to the print dialog.
const OSStatus kInvalidPDEContext = -9530;  // no pane object, or no print session
const OSStatus kSyncNotDone = -30879;       // Sync without a pane object or print session

// The IUnknown interface of the plug-in: the record that the factory makes.
struct IUnknownInstance {
  const IUnknownVTbl* vtable;  // points at vtableStorage
  IUnknownVTbl vtableStorage;
  CFUUIDRef factoryID;  // owned
  PrologueProcPtr prologueProc;
  ULONG refCount;
};

// The dialog-extension interface: the platform's PlugInIntf with a count.
struct JobLogPlugInInterface {
  PlugInIntfVTable* vtable;  // owned, freed with the record
  UInt32 refCount;
};

HRESULT QueryInterface(void* obj, REFIID iID, LPVOID* intfPtr);
ULONG IUnknownAddRef(void* obj);
ULONG IUnknownRelease(void* obj);
OSStatus Retain(PMPlugInHeaderInterface* obj);
OSStatus Release(PMPlugInHeaderInterface** objPtr);
OSStatus GetAPIVersion(PMPlugInHeaderInterface* obj, PMPlugInAPIVersion* versionPtr);
OSStatus Initialize(PMPDEContext context, PMPDEFlags* flags, PMPDERef ref,
                    ControlRef parentUserPane, PMPrintSession printSession);
OSStatus Sync(PMPDEContext context, PMPrintSession printSession, Boolean syncDirection);
OSStatus GetSummaryText(PMPDEContext context, CFArrayRef* titleArray, CFArrayRef* summaryArray);
OSStatus Open(PMPDEContext context);
OSStatus Close(PMPDEContext context);
OSStatus Terminate(PMPDEContext context, OSStatus status);

// The context is the pane object's address, as the prologue gave it.
CPDEPlugin* PaneOf(PMPDEContext context) { return reinterpret_cast<CPDEPlugin*>(context); }

// A new interface record with its own table around prologueProc. On an
// exhausted heap nothing is left behind, *objPtr is NULL and the result says
// so (a NULL record must not pass for success).
OSStatus CreatePlugInInterface(PlugInIntf** objPtr, PrologueProcPtr prologueProc) {
  *objPtr = NULL;
  JobLogPlugInInterface* record =
      static_cast<JobLogPlugInInterface*>(std::calloc(1, sizeof(JobLogPlugInInterface)));
  if (record == NULL) return kPDEInterfaceOutOfMemory;
  record->refCount = 1;

  PlugInIntfVTable* table = static_cast<PlugInIntfVTable*>(std::calloc(1, sizeof(PlugInIntfVTable)));
  if (table == NULL) {
    std::free(record);
    return kPDEInterfaceOutOfMemory;
  }
  table->plugInHeader.Retain = Retain;
  table->plugInHeader.Release = Release;
  table->plugInHeader.GetAPIVersion = GetAPIVersion;
  table->Prologue = prologueProc;
  table->Initialize = Initialize;
  table->Sync = Sync;
  table->GetSummaryText = GetSummaryText;
  table->Open = Open;
  table->Close = Close;
  table->Terminate = Terminate;
  record->vtable = table;

  *objPtr = reinterpret_cast<PlugInIntf*>(record);
  return noErr;
}

HRESULT QueryInterface(void* obj, REFIID iID, LPVOID* intfPtr) {
  if (obj == NULL || intfPtr == NULL) return E_NOINTERFACE;
  IUnknownInstance* instance = static_cast<IUnknownInstance*>(obj);
  CFUUIDRef requested = CFUUIDCreateFromUUIDBytes(kCFAllocatorDefault, iID);
  CFUUIDRef dialogExtension = CFUUIDCreateFromString(kCFAllocatorDefault, CFSTR(kPDEInterfaceIDString));

  HRESULT result = E_NOINTERFACE;
  *intfPtr = NULL;
  if (requested != NULL && CFEqual(requested, IUnknownUUID)) {
    instance->vtable->AddRef(obj);
    *intfPtr = obj;
    result = S_OK;
  } else if (requested != NULL && dialogExtension != NULL && CFEqual(requested, dialogExtension)) {
    // Every query makes a new, independent record; the instance's own count
    // does not change.
    PlugInIntf* record = NULL;
    result = CreatePlugInInterface(&record, instance->prologueProc);
    if (result == noErr) *intfPtr = record;
  }

  if (requested != NULL) CFRelease(requested);
  if (dialogExtension != NULL) CFRelease(dialogExtension);
  return result;
}

ULONG IUnknownAddRef(void* obj) {
  if (obj == NULL) return 0;
  return ++static_cast<IUnknownInstance*>(obj)->refCount;
}

ULONG IUnknownRelease(void* obj) {
  IUnknownInstance* instance = static_cast<IUnknownInstance*>(obj);
  if (instance == NULL || instance->refCount == 0) return 0;
  if (--instance->refCount != 0) return instance->refCount;
  CFPlugInRemoveInstanceForFactory(instance->factoryID);
  CFRelease(instance->factoryID);
  std::free(instance);
  return 0;
}

OSStatus Retain(PMPlugInHeaderInterface* obj) {
  if (obj != NULL) ++reinterpret_cast<JobLogPlugInInterface*>(obj)->refCount;
  return noErr;
}

OSStatus Release(PMPlugInHeaderInterface** objPtr) {
  if (objPtr == NULL || *objPtr == NULL) return noErr;
  JobLogPlugInInterface* record = reinterpret_cast<JobLogPlugInInterface*>(*objPtr);
  *objPtr = NULL;  // the caller's reference is gone, whatever the count
  if (--record->refCount == 0) {
    std::free(record->vtable);
    std::free(record);
  }
  return noErr;
}

OSStatus GetAPIVersion(PMPlugInHeaderInterface*, PMPlugInAPIVersion* versionPtr) {
  if (versionPtr != NULL) {
    versionPtr->buildVersionMajor = 1;
    versionPtr->buildVersionMinor = 0;
    versionPtr->baseVersionMajor = 1;
    versionPtr->baseVersionMinor = 0;
  }
  return noErr;
}

OSStatus Initialize(PMPDEContext context, PMPDEFlags* flags, PMPDERef ref,
                    ControlRef parentUserPane, PMPrintSession printSession) {
  if (context == NULL || printSession == NULL) return kInvalidPDEContext;
  return PaneOf(context)->CreateUI(flags, ref, parentUserPane, printSession);
}

OSStatus Sync(PMPDEContext context, PMPrintSession printSession, Boolean syncDirection) {
  if (context == NULL || printSession == NULL) return kSyncNotDone;
  switch (syncDirection) {
    case 1:  // towards the pane
      return PaneOf(context)->TicketToUI(printSession);
    case 0:  // towards the tickets
      return PaneOf(context)->UIToTicket(printSession);
    default:
      return noErr;
  }
}

OSStatus GetSummaryText(PMPDEContext context, CFArrayRef* titleArray, CFArrayRef* summaryArray) {
  if (context == NULL) return kInvalidPDEContext;
  if (titleArray == NULL || summaryArray == NULL) return paramErr;
  *titleArray = NULL;
  *summaryArray = NULL;

  CFMutableArrayRef titles = CFArrayCreateMutable(kCFAllocatorDefault, 0, &kCFTypeArrayCallBacks);
  CFMutableArrayRef values = CFArrayCreateMutable(kCFAllocatorDefault, 0, &kCFTypeArrayCallBacks);
  OSStatus result = memFullErr;
  if (titles != NULL && values != NULL) result = PaneOf(context)->GetSummaryText(titles, values);

  if (result == noErr) {  // both pass to the caller
    *titleArray = titles;
    *summaryArray = values;
  } else {
    if (titles != NULL) CFRelease(titles);
    if (values != NULL) CFRelease(values);
  }
  return result;
}

OSStatus Open(PMPDEContext context) {
  if (context == NULL) return kInvalidPDEContext;
  return PaneOf(context)->OnOpenUI();
}

OSStatus Close(PMPDEContext context) {
  if (context == NULL) return kInvalidPDEContext;
  return PaneOf(context)->OnCloseUI();
}

OSStatus Terminate(PMPDEContext context, OSStatus /*status*/) {
  if (context != NULL) delete PaneOf(context);
  return noErr;
}

}  // namespace

void* PluginFactory(CFAllocatorRef /*allocator*/, CFUUIDRef reqTypeID, CFStringRef factoryID,
                    PrologueProcPtr prologueProc) {
  CFUUIDRef typeID = CFUUIDCreateFromString(kCFAllocatorDefault, CFSTR(kPDEPlugInTypeIDString));
  if (typeID == NULL) return NULL;
  CFUUIDRef factoryUUID = factoryID != NULL ? CFUUIDCreateFromString(kCFAllocatorDefault, factoryID) : NULL;
  if (factoryUUID == NULL) {
    CFRelease(typeID);
    return NULL;
  }

  IUnknownInstance* instance = NULL;
  if (reqTypeID != NULL && CFEqual(reqTypeID, typeID)) {
    instance = static_cast<IUnknownInstance*>(std::calloc(1, sizeof(IUnknownInstance)));
    if (instance != NULL) {
      instance->factoryID = factoryUUID;  // the instance owns it now
      instance->vtable = &instance->vtableStorage;
      instance->vtableStorage._reserved = NULL;
      instance->vtableStorage.QueryInterface = QueryInterface;
      instance->vtableStorage.AddRef = IUnknownAddRef;
      instance->vtableStorage.Release = IUnknownRelease;
      instance->prologueProc = prologueProc;
      instance->refCount = 1;
      CFPlugInAddInstanceForFactory(factoryUUID);
    }
  }

  if (instance == NULL) CFRelease(factoryUUID);
  CFRelease(typeID);
  return instance;
}
