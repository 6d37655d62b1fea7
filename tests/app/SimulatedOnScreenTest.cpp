#include <QApplication>
#include <QFontMetricsF>
#include <QScreen>

#include "app/AppTestSupport.h"
#include "app/SimulatedDesktop.h"
#include "app/VirtualDisplaysWindow.h"
#include "app/VirtualScreenMap.h"
#include "platform/sim/SimIndicatorPanels.h"
#include "ui/DesktopCoordinates.h"

namespace corvane::app {
namespace {

using namespace corvane::app::testing;

bool contains(const Rect& outer, const Rect& inner) {
    constexpr double kSlack = 1e-9;
    return inner.minX() >= outer.minX() - kSlack && inner.maxX() <= outer.maxX() + kSlack &&
           inner.minY() >= outer.minY() - kSlack && inner.maxY() <= outer.maxY() + kSlack;
}

TEST(VirtualScreenMap, ShrinksTheVirtualDesktopIntoTheWorkAreaAndCentresIt) {
    const std::vector<Rect> screens{
        {0, 0, 1512, 982}, {1512, 0, 1920, 1080}, {3432, 0, 1920, 1080}};
    const Rect area{0, 40, 1280, 680};
    const VirtualScreenMap map(screens, area);
    // The whole width is used (from the area's left, as the second screen's place shows); the
    // height is centred.
    EXPECT_DOUBLE_EQ(map.scale(), 1280.0 / 5352);
    EXPECT_DOUBLE_EQ(map.map({0, 0}).y, 40 + (680 - 1080 * map.scale()) / 2);
    for (const Rect& screen : screens) EXPECT_TRUE(contains(area, map.mapRect(screen)));
    // The second screen's place, side by side with the first.
    EXPECT_DOUBLE_EQ(map.mapRect(screens[1]).x, 1512 * map.scale());
    EXPECT_DOUBLE_EQ(map.mapRect(screens[1]).width, 1920 * map.scale());

    // A panel keeps its size, its bottom centre where its place is.
    const Rect panel = map.mapPanel({2354, 108, 236, 118});
    EXPECT_DOUBLE_EQ(panel.width, 236);
    EXPECT_DOUBLE_EQ(panel.height, 118);
    EXPECT_DOUBLE_EQ(panel.midX(), map.map({2472, 108}).x);
    EXPECT_DOUBLE_EQ(panel.minY(), map.map({2472, 108}).y);
    // Near the area's edge it is pushed back inside, whole.
    EXPECT_DOUBLE_EQ(map.mapPanel({10, 108, 236, 118}).x, 0);

    // A virtual desktop smaller than the area is not enlarged, only centred.
    const VirtualScreenMap small({{0, 0, 640, 400}}, area);
    EXPECT_DOUBLE_EQ(small.scale(), 1);
    EXPECT_EQ(small.mapRect({0, 0, 640, 400}), (Rect{320, 180, 640, 400}));
}

// A simulated desktop shown on the (offscreen) real screen, with the indicator's windows
// recorded.
class SimulatedOnScreenTest : public ::testing::Test {
  protected:
    void SetUp() override {
        model->start();
        // The monitors' first readings arrive through the event loop.
        waitUntil([&] { return model->sessions().size() == 3; }, std::chrono::seconds(5));
    }
    void TearDown() override { model->teardown(); }

    static Rect workArea() {
        return ui::desktop::fromQt(QRectF(QGuiApplication::primaryScreen()->availableGeometry()));
    }
    Rect placeOf(DisplayID id) {
        for (const Screen& screen : desktop.platform().screens.screens())
            if (screen.number == id) return desktop.onScreenPlacement().mapRect(screen.frame);
        return {};
    }

    sim::SimIndicatorPanels realPanels;
    SimulatedDesktop desktop{SimulatedDesktop::displays(3), &realPanels};
    ModelOnDesktop made{desktop};
    std::shared_ptr<AppModel>& model = made.model;
};

TEST_F(SimulatedOnScreenTest, IndicatorAppearsOnTheRealScreenInItsVirtualScreensPlace) {
    for (DisplayID id : {1u, 2u, 3u}) {
        model->showHUD(id);
        ASSERT_EQ(realPanels.records().size(), 1u);
        const Rect frame = realPanels.records().front()->frames.back();
        EXPECT_TRUE(contains(workArea(), frame)) << "display " << id;
        const Rect place = placeOf(id);
        EXPECT_GT(frame.midX(), place.minX()) << "display " << id;
        EXPECT_LT(frame.midX(), place.maxX()) << "display " << id;
    }
}

TEST_F(SimulatedOnScreenTest, ABoostIsMarkedAroundItsVirtualScreen) {
    auto rings = [] {
        std::vector<QWidget*> shown;
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->isVisible() &&
                window->windowFlags().testFlag(Qt::WindowTransparentForInput) &&
                !window->mask().isEmpty())
                shown.push_back(window);
        return shown;
    };
    EXPECT_TRUE(rings().empty());
    model->applyPreset(BrightnessPreset::peak);
    QCoreApplication::processEvents();
    ASSERT_EQ(rings().size(), 1u);
    const QRect expected = ui::desktop::toQt(placeOf(1)).toRect();
    EXPECT_EQ(rings().front()->geometry(), expected);
    // Only the ring is part of the window: the screen's place inside it stays clear.
    EXPECT_FALSE(rings().front()->mask().contains(rings().front()->rect().center()));

    model->applyPreset(BrightnessPreset::sdr);
    QCoreApplication::processEvents();
    EXPECT_TRUE(rings().empty());
}

TEST(VirtualDisplaysWindowLayout, EveryDisplayShowsWrappedIntoRowsWithLongNamesElided) {
    SimulatedDesktop desktop(SimulatedDesktop::displays(6));
    desktop.desktop().add(sim::SimDisplayConfig::gammaOnlyMonitor(
        "A monitor with a name far too long for the tile it is shown in"));
    ModelOnDesktop made(desktop);
    VirtualDisplaysWindow window(desktop.desktop(), *made.model);
    const int count = static_cast<int>(desktop.desktop().allDisplays().size());
    ASSERT_EQ(count, 7);
    for (int width : {window.sizeHint().width(), 560, 300}) {
        window.resize(width, window.heightForWidth(width));
        EXPECT_EQ(window.tileScale(), 1);
        const int columns = VirtualDisplaysWindow::columnsFor(width);
        for (int i = 0; i < count; ++i) {
            const QRectF tile = window.tileRect(i);
            EXPECT_TRUE(QRectF(window.rect()).contains(tile)) << "width " << width << " tile " << i;
            EXPECT_EQ(tile.top(), window.tileRect(i - i % columns).top());
            if (i > 0) {
                EXPECT_NE(tile, window.tileRect(i - 1));
            }
        }
    }
    // Too short for its rows: the tiles shrink until every one fits.
    for (int i = 0; i < 9; ++i)
        desktop.desktop().add(sim::SimDisplayConfig::gammaOnlyMonitor("More"));
    window.resize(window.sizeHint().width(), 600);
    EXPECT_LT(window.tileScale(), 1);
    for (int i = 0; i < 16; ++i)
        EXPECT_TRUE(QRectF(0, 0, window.width(), 600 - 52).contains(window.tileRect(i))) << i;

    const sim::SimDisplay& longest = desktop.desktop().allDisplays()[6];
    const QString shown = window.shownName(longest);
    EXPECT_TRUE(shown.endsWith(QChar(0x2026)));
    EXPECT_LE(QFontMetricsF(window.font()).horizontalAdvance(shown), 240 * 1.2);
    EXPECT_EQ(window.shownName(desktop.desktop().allDisplays().front()),
              QString::fromStdString(desktop.desktop().allDisplays().front().config.name));
}

}  // namespace
}  // namespace corvane::app
