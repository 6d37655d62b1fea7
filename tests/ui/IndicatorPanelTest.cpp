#include "ui/IndicatorPanelWidget.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QWindow>
#include <cmath>

#include "hud/BrightnessHUD.h"
#include "hud/HUDLayout.h"
#include "platform/sim/SimDesktop.h"
#include "ui/DesktopCoordinates.h"
#include "ui/IndicatorContent.h"
#include "ui/PopoverTestSupport.h"

namespace corvane::ui {
namespace {

const QSizeF kPanelSize(kHUDSize.width, kHUDSize.height);

QImage painted(const BrightnessHUDView& view, bool translucent = true) {
    return testing::drawn(kPanelSize.toSize(), [&](QPainter& painter) {
        paintIndicator(painter, view, kPanelSize, translucent);
    });
}

// Columns of the bar's row where the warm fill shows rather than the grey track.
int warmColumns(const QImage& image, const QRectF& bar) {
    const int y = static_cast<int>(bar.center().y());
    int count = 0;
    for (int x = 0; x < image.width(); ++x) {
        const QColor pixel = image.pixelColor(x, y);
        if (pixel.red() - pixel.blue() > 80) ++count;
    }
    return count;
}

// Whether the middle of `area` holds one flat colour, away from the panel's rounded border.
bool isBlank(const QImage& image, const QRectF& area) {
    const QRect pixels = area.adjusted(40, 0, -40, 0).toAlignedRect() & image.rect();
    const QRgb first = image.pixel(pixels.topLeft());
    for (int y = pixels.top(); y <= pixels.bottom(); ++y)
        for (int x = pixels.left(); x <= pixels.right(); ++x)
            if (image.pixel(x, y) != first) return false;
    return true;
}

TEST(IndicatorPanelTest, WindowFloatsAboveWithoutTakingFocusOrClicks) {
    IndicatorPanelWidget panel(kHUDSize, true);
    for (Qt::WindowType flag : {Qt::WindowTransparentForInput, Qt::WindowDoesNotAcceptFocus,
                                Qt::WindowStaysOnTopHint, Qt::FramelessWindowHint})
        EXPECT_TRUE(panel.windowFlags().testFlag(flag)) << flag;
    EXPECT_EQ(panel.windowType(), Qt::Tool);
    EXPECT_TRUE(panel.testAttribute(Qt::WA_ShowWithoutActivating));
    EXPECT_TRUE(panel.testAttribute(Qt::WA_TranslucentBackground));
    EXPECT_FALSE(IndicatorPanelWidget(kHUDSize, false).testAttribute(Qt::WA_TranslucentBackground));

    panel.orderFront();
    EXPECT_TRUE(panel.isVisible());
    // What the window system is asked for (the off-screen platform activates every window).
    ASSERT_NE(panel.windowHandle(), nullptr);
    for (Qt::WindowType flag : {Qt::WindowDoesNotAcceptFocus, Qt::WindowTransparentForInput})
        EXPECT_TRUE(panel.windowHandle()->flags().testFlag(flag)) << flag;
    panel.orderOut();
    EXPECT_FALSE(panel.isVisible());
}

TEST(IndicatorPanelTest, DesktopCoordinatesFlipAroundThePrimaryScreensBottom) {
    const QRect primary(0, 0, 1920, 1080);
    EXPECT_EQ(desktop::toQt(Rect{842, 168, 236, 118}, primary), QRectF(842, 794, 236, 118));
    // A screen above the main one has negative Qt y; one left of it negative x.
    EXPECT_EQ(desktop::toQt(Rect{-1280, 1080, 1280, 1024}, primary),
              QRectF(-1280, -1024, 1280, 1024));
    // A primary screen that does not start at Qt's origin.
    const QRect offset(1280, 200, 1920, 1080);
    EXPECT_EQ(desktop::toQt(Rect{0, 0, 100, 50}, offset), QRectF(1280, 1230, 100, 50));
    const Rect frame{-300.5, 640.25, 236, 118};
    EXPECT_EQ(desktop::fromQt(desktop::toQt(frame, offset), offset), frame);
}

// The indicator's core logic drives the Qt window: content, place and visibility.
TEST(IndicatorPanelTest, ShowsTheCoresContentAtTheCoresFrame) {
    sim::SimDesktop desktop;
    sim::SimDisplayConfig display = sim::SimDisplayConfig::builtinPanel();
    display.size = {1512, 982};
    const DisplayID id = desktop.add(display);
    QtIndicatorPanels panels(true);
    auto hud = BrightnessHUD::create(desktop.loop(), desktop.platform().screens, panels);

    hud->show(37.5, std::nullopt, id);
    auto* window = qobject_cast<IndicatorPanelWidget*>(QApplication::topLevelWidgets().last());
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->content(), (BrightnessHUDView{38, std::nullopt}));
    // Centred on the screen, 108 above its 60-point dock.
    const int primaryHeight = QGuiApplication::primaryScreen()->geometry().height();
    EXPECT_EQ(window->geometry(), QRect(756 - 118, primaryHeight - 168 - 118, 236, 118));
    hud->hide();
    EXPECT_FALSE(window->isVisible());
}

TEST(IndicatorPanelTest, NitsRowOnlyWithNitsAndEveryRowInsideThePanel) {
    const IndicatorLayout withNits = layoutIndicator({100, 1600}, kPanelSize);
    const IndicatorLayout without = layoutIndicator({100, std::nullopt}, kPanelSize);
    ASSERT_TRUE(withNits.nits.has_value());
    EXPECT_FALSE(without.nits.has_value());

    for (const IndicatorLayout& layout : {withNits, without}) {
        const QRectF last = layout.nits.value_or(layout.bar);
        EXPECT_NEAR(layout.title.top(), kPanelSize.height() - last.bottom(), 0.01);
        EXPECT_GE(layout.title.top(), 0);
        EXPECT_EQ(layout.level.top() - layout.title.bottom(), kHUDRowSpacing);
        EXPECT_EQ(layout.bar.top() - layout.level.bottom(), kHUDRowSpacing);
        EXPECT_EQ(layout.bar.width(), 236 - 2 * 18 - 2 * 18);
        EXPECT_EQ(layout.bar.height(), 5);
        EXPECT_NEAR(layout.title.center().x(), 118, 0.01);
    }

    // The nits line's place below the bar, which sits lower when the stack is shorter.
    QRectF nitsLine = *withNits.nits;
    nitsLine.setTop(std::ceil(without.bar.bottom()) + 1);
    EXPECT_FALSE(isBlank(painted({100, 1600}), nitsLine));
    EXPECT_TRUE(isBlank(painted({100, std::nullopt}), nitsLine));
}

// The fill's width for each level is HUDLayout's (BrightnessHUDTests); here it is painted.
TEST(IndicatorPanelTest, BarFillIsPaintedToTheLevelOnAPanelWithRoundedCorners) {
    const QRectF bar = layoutIndicator({0, std::nullopt}, kPanelSize).bar;
    EXPECT_NEAR(warmColumns(painted({50, std::nullopt}), bar), bar.width() / 2, 1);

    // The corners are clear only with a compositor.
    EXPECT_EQ(painted({50, std::nullopt}, true).pixelColor(1, 1).alpha(), 0);
    EXPECT_EQ(painted({50, std::nullopt}, false).pixelColor(1, 1).alpha(), 255);
    EXPECT_GT(painted({50, std::nullopt}, true).pixelColor(118, 4).alpha(), 200);
}

}  // namespace
}  // namespace corvane::ui
