// PDEInterface: what the printing system meets first. PluginFactory makes
// the plug-in's COM-style instance; the instance hands out the
// dialog-extension interface, a record whose function table holds the pane's
// prologue and six dispatchers that turn each call of the print dialog into
// a call of the pane object (a CPDEPlugin) that the prologue made.
#ifndef JOBLOG_PDEINTERFACE_H
#define JOBLOG_PDEINTERFACE_H

#include "JobLogPlatform.h"

// The plug-in type of print dialog extensions: the type the factory makes.
#define kPDEPlugInTypeIDString "BDB091F4-E57F-11D3-B5CC-0050E4603277"
// The dialog-extension interface that QueryInterface hands out.
#define kPDEInterfaceIDString "A996FD7E-B738-11D3-8519-0050E4603277"

// QueryInterface's answer when there is no memory for an interface record
// (the COM code for out of memory).
#define kPDEInterfaceOutOfMemory ((HRESULT)0x8007000EL)

// A pane's prologue: makes the pane object and hands its address back as the
// context of every later call, with the pane's creator, kind, title (which
// passes to the caller) and largest size.
typedef OSStatus (*PrologueProcPtr)(PMPDEContext* context, OSType* creator,
                                    CFStringRef* userOptionKind, CFStringRef* title,
                                    UInt32* maxH, UInt32* maxV);

// A new instance of the plug-in (its IUnknown interface) when reqTypeID is
// the dialog extension plug-in type, registered with CFPlugIn under
// factoryID (the factory UUID as text); NULL otherwise. allocator is not used.
void* PluginFactory(CFAllocatorRef allocator, CFUUIDRef reqTypeID, CFStringRef factoryID,
                    PrologueProcPtr prologueProc);

#endif
