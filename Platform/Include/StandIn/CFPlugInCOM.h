/* CFPlugInCOM.h: the COM conventions that plug-in interfaces follow:
 * HRESULT, ULONG, LPVOID, REFIID, S_OK, E_NOINTERFACE, SUCCEEDED, FAILED,
 * IUnknownVTbl and IUnknownUUID. As on the platform, an interface pointer
 * points at a record whose first field points at its function table, and
 * REFIID is the interface's UUID bytes passed by value. IUnknownUUID is a
 * constant UUID (not released). */
#ifndef JOBLOG_STANDIN_CFPLUGINCOM_H
#define JOBLOG_STANDIN_CFPLUGINCOM_H

#include "CFPlugIn.h"
#include "CFUUID.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef SInt32 HRESULT;
typedef UInt32 ULONG;
typedef void* LPVOID;
typedef CFUUIDBytes REFIID;

#define S_OK ((HRESULT)0x00000000L)
#define E_NOINTERFACE ((HRESULT)0x80000004L)
#define SUCCEEDED(Status) ((HRESULT)(Status) >= 0)
#define FAILED(Status) ((HRESULT)(Status) < 0)

typedef struct IUnknownVTbl {
  void* _reserved;
  HRESULT (*QueryInterface)(void* thisPointer, REFIID iid, LPVOID* ppv);
  ULONG (*AddRef)(void* thisPointer);
  ULONG (*Release)(void* thisPointer);
} IUnknownVTbl;

#define IUnknownUUID                                                                         \
  CFUUIDGetConstantUUIDWithBytes(kCFAllocatorDefault, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,   \
                                 0x00, 0x00, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46)

#ifdef __cplusplus
}
#endif

#endif
