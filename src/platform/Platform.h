#pragma once

#include "platform/DisplayCatalog.h"
#include "platform/DisplayConnectServices.h"
#include "platform/GammaTables.h"
#include "platform/IndicatorPanel.h"
#include "platform/IORegistry.h"
#include "platform/Localizer.h"
#include "platform/LoginItem.h"
#include "platform/MainLoop.h"
#include "platform/OverlayWindows.h"
#include "platform/PowerSources.h"
#include "platform/PreferencesStore.h"
#include "platform/PrivateDisplayFunctions.h"
#include "platform/ScreenCatalog.h"
#include "platform/Sleeper.h"
#include "platform/SystemEventStream.h"
#include "platform/SystemNotifications.h"

namespace corvane {

// Every platform facility the core uses. The desktop that provides them (simulated or real)
// outlives everything that holds this.
struct Platform {
    DisplayCatalog& displays;
    ScreenCatalog& screens;
    const PrivateDisplayFunctions& functions;
    DisplayConnectServices& displayConnect;
    GammaTables& gamma;
    IORegistry& registry;
    Sleeper& sleeper;
    PreferencesStore& preferences;
    Localizer& localizer;
    OverlayWindows& overlays;
    MainLoop& loop;
    PowerSources& power;
    LoginItem& loginItem;
    SystemNotifications& notifications;
    SystemEventStream& events;
    IndicatorPanels& indicatorPanels;
};

}  // namespace corvane
