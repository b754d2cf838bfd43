/* CFPlugIn.h: plug-ins: CFPlugInCreate, CFPlugInGetTypeID,
 * CFPlugInFindFactoriesForPlugInType, CFPlugInInstanceCreate,
 * CFPlugInAddInstanceForFactory and CFPlugInRemoveInstanceForFactory.
 *
 * A plug-in is a bundle (CFPlugInRef is CFBundleRef) whose Info.plist
 * registers its factories and types as the platform's static registration
 * does:
 *   CFPlugInFactories: dictionary, factory UUID string -> name of the
 *                      factory function in the executable
 *   CFPlugInTypes:     dictionary, type UUID string -> array of factory
 *                      UUID strings
 * The registration lasts while the bundle object lives. A factory function
 * has the form  void* f(CFAllocatorRef allocator, CFUUIDRef typeID)  and is
 * found with dlsym when CFPlugInInstanceCreate first needs it.
 *
 * Instance counting: the factory function calls
 * CFPlugInAddInstanceForFactory for each instance it makes, and the
 * instance calls CFPlugInRemoveInstanceForFactory when it is freed. While a
 * registered factory has instances its bundle is kept alive (and its code
 * loaded), as on the platform. */
#ifndef JOBLOG_STANDIN_CFPLUGIN_H
#define JOBLOG_STANDIN_CFPLUGIN_H

#include "CFBase.h"
#include "CFBundle.h"
#include "CFCollections.h"
#include "CFURL.h"
#include "CFUUID.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct OpaqueCFBundle* CFPlugInRef;
typedef void* (*CFPlugInFactoryFunction)(CFAllocatorRef allocator, CFUUIDRef typeUUID);

CFTypeID CFPlugInGetTypeID(void);
/* The bundle at plugInURL with its registration; the caller releases it. */
CFPlugInRef CFPlugInCreate(CFAllocatorRef allocator, CFURLRef plugInURL);
/* The UUIDs of the registered factories that make typeUUID, in the order
 * the Info.plist lists them; an array (possibly empty) that the caller
 * releases. */
CFArrayRef CFPlugInFindFactoriesForPlugInType(CFUUIDRef typeUUID);
/* Calls the factory function; NULL when the factory is not registered or
 * its function cannot be found. */
void* CFPlugInInstanceCreate(CFAllocatorRef allocator, CFUUIDRef factoryUUID,
                             CFUUIDRef typeUUID);
void CFPlugInAddInstanceForFactory(CFUUIDRef factoryID);
/* Does nothing for a factory without instances. */
void CFPlugInRemoveInstanceForFactory(CFUUIDRef factoryID);

#ifdef __cplusplus
}
#endif

#endif
