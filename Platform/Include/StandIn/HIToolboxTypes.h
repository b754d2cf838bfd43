/* HIToolboxTypes.h: the opaque references and small scalar types that the
 * control toolkit's headers share: WindowRef, ControlRef, MenuRef, the
 * Carbon event references, IBNibRef, DialogRef, ScrapRef, EventModifiers,
 * ControlPartCode, MenuItemIndex and CharParameter. */
#ifndef JOBLOG_STANDIN_HITOOLBOXTYPES_H
#define JOBLOG_STANDIN_HITOOLBOXTYPES_H

#include "MacTypes.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct OpaqueWindowPtr* WindowRef;
typedef struct OpaqueControlRef* ControlRef;
typedef struct OpaqueMenuRef* MenuRef;
typedef struct OpaqueEventRef* EventRef;
typedef struct OpaqueEventTargetRef* EventTargetRef;
typedef struct OpaqueEventHandlerRef* EventHandlerRef;
typedef struct OpaqueEventHandlerCallRef* EventHandlerCallRef;
typedef struct OpaqueIBNibRef* IBNibRef;
typedef struct OpaqueDialogPtr* DialogRef;
typedef struct OpaqueScrapRef* ScrapRef;

typedef UInt16 EventModifiers;
typedef SInt16 ControlPartCode;
typedef UInt16 MenuItemIndex;
typedef SInt16 CharParameter;

#ifdef __cplusplus
}
#endif

#endif
