#include "app/QtScreenCatalog.h"

#include <QGuiApplication>
#include <QScreen>

#include "app/ScreenMatching.h"
#include "ui/DesktopCoordinates.h"

namespace corvane::app {

QtScreenCatalog::QtScreenCatalog(const linux_desktop::DrmDisplayCatalog& displays)
    : displays_(displays) {}

Screen QtScreenCatalog::describe(const QScreen& screen) const {
    Screen described;
    described.localizedName = screen.name().toStdString();
    if (const linux_desktop::ConnectedDisplay* display =
            matchDisplay(ScreenIdentity::of(screen), displays_.displays())) {
        described.number = display->id;
        const auto& edid = display->connector.edid;
        if (edid && !edid->name.empty()) described.localizedName = edid->name;
    }
    described.frame = ui::desktop::fromQt(QRectF(screen.geometry()));
    described.visibleFrame = ui::desktop::fromQt(QRectF(screen.availableGeometry()));
    described.backingScaleFactor = screen.devicePixelRatio();
    return described;
}

std::vector<Screen> QtScreenCatalog::screens() const {
    std::vector<Screen> result;
    for (const QScreen* screen : QGuiApplication::screens()) result.push_back(describe(*screen));
    return result;
}

std::optional<Screen> QtScreenCatalog::mainScreen() const {
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (!primary) return std::nullopt;
    return describe(*primary);
}

}  // namespace corvane::app
