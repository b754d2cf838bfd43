/* PrintDialogExtension.h: the published interface through which the print
 * dialog calls a dialog extension: PMPlugInHeader, PMPlugInAPIVersion,
 * PlugInIntf, PlugInIntfVTable and the types of its entries (PMPDEContext,
 * PMPDEFlags, PMPDERef). Types only; there are no calls here.
 *
 * The 32-bit platform carried the pane object's address in a 32-bit
 * PMPDEContext. Here PMPDEContext is pointer-sized, so the address of an
 * object anywhere in a 64-bit address space survives the round trip
 * through the print dialog. */
#ifndef JOBLOG_STANDIN_PRINTDIALOGEXTENSION_H
#define JOBLOG_STANDIN_PRINTDIALOGEXTENSION_H

#include "CFBase.h"
#include "CFCollections.h"
#include "HIToolboxTypes.h"
#include "PrintCore.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct OpaquePMPDEContext* PMPDEContext;
typedef struct OpaquePMPDERef* PMPDERef;
typedef UInt32 PMPDEFlags;

typedef struct PMPlugInAPIVersion {
  UInt32 buildVersionMajor;
  UInt32 buildVersionMinor;
  UInt32 baseVersionMajor;
  UInt32 baseVersionMinor;
} PMPlugInAPIVersion;

typedef struct PMPlugInHeaderInterface PMPlugInHeaderInterface;

/* Every printing plug-in interface table starts with this header. */
typedef struct PMPlugInHeader {
  OSStatus (*Retain)(PMPlugInHeaderInterface* obj);
  /* Clears *objPtr. */
  OSStatus (*Release)(PMPlugInHeaderInterface** objPtr);
  OSStatus (*GetAPIVersion)(PMPlugInHeaderInterface* obj, PMPlugInAPIVersion* versionPtr);
} PMPlugInHeader;

struct PMPlugInHeaderInterface {
  const PMPlugInHeader* vtable;
};

/* The dialog extension's function table. */
typedef struct PlugInIntfVTable {
  PMPlugInHeader plugInHeader;
  OSStatus (*Prologue)(PMPDEContext* context, OSType* creator, CFStringRef* userOptionKind,
                       CFStringRef* title, UInt32* maxH, UInt32* maxV);
  OSStatus (*Initialize)(PMPDEContext context, PMPDEFlags* flags, PMPDERef ref,
                         ControlRef parentUserPane, PMPrintSession printSession);
  OSStatus (*Sync)(PMPDEContext context, PMPrintSession printSession, Boolean syncDirection);
  OSStatus (*GetSummaryText)(PMPDEContext context, CFArrayRef* titleArray,
                             CFArrayRef* summaryArray);
  OSStatus (*Open)(PMPDEContext context);
  OSStatus (*Close)(PMPDEContext context);
  OSStatus (*Terminate)(PMPDEContext context, OSStatus status);
} PlugInIntfVTable;

/* What the plug-in hands out for the dialog-extension interface. */
typedef struct PlugInIntf {
  PlugInIntfVTable* vtable;
} PlugInIntf;

#ifdef __cplusplus
}
#endif

#endif
