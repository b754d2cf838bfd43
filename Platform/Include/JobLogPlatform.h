/* JobLogPlatform.h: the one header the dialog extension includes for its
 * platform. On the platform itself it brings in the real frameworks
 * (Core Foundation with CFPlugIn, Carbon's HIToolbox, Print Core and the
 * print dialog extension interface); elsewhere it brings in this project's
 * stand-in for exactly the calls the extension makes (StandIn/). */
#ifndef JOBLOG_PLATFORM_H
#define JOBLOG_PLATFORM_H

#ifdef __APPLE__

#include <ApplicationServices/ApplicationServices.h>
#include <Carbon/Carbon.h>
#include <CoreFoundation/CFPlugInCOM.h>
#include <CoreFoundation/CoreFoundation.h>
#include <PrintCore/PMPrintingDialogExtensions.h>
#include <PrintCore/PMTicket.h>

#else

#include "StandIn/MacTypes.h"

#include "StandIn/CFBase.h"
#include "StandIn/CFBundle.h"
#include "StandIn/CFCollections.h"
#include "StandIn/CFData.h"
#include "StandIn/CFNumber.h"
#include "StandIn/CFPlugIn.h"
#include "StandIn/CFPlugInCOM.h"
#include "StandIn/CFPropertyList.h"
#include "StandIn/CFString.h"
#include "StandIn/CFURL.h"
#include "StandIn/CFUUID.h"

#include "StandIn/PrintCore.h"
#include "StandIn/PrintDialogExtension.h"

#include "StandIn/CarbonEvents.h"
#include "StandIn/Controls.h"
#include "StandIn/Dialogs.h"
#include "StandIn/HIToolboxTypes.h"
#include "StandIn/IBCarbonRuntime.h"
#include "StandIn/MacMemory.h"
#include "StandIn/MacWindows.h"
#include "StandIn/Menus.h"
#include "StandIn/QuickDraw.h"
#include "StandIn/Scrap.h"
#include "StandIn/Sound.h"

#endif

#endif
