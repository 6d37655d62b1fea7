#include <gtest/gtest.h>

#include <QLabel>
#include <vector>

#include "app/PopoverPlacement.h"
#include "app/PopoverWindow.h"

namespace corvane::app {
namespace {

// Everything apply() may touch, to compare one window state with another.
struct WindowState {
    Qt::WindowFlags flags;
    std::vector<bool> attributes;
    QRegion mask;
    QRect geometry;
    bool visible;
    friend bool operator==(const WindowState&, const WindowState&) = default;
    friend void PrintTo(const WindowState& state, std::ostream* out) {
        *out << "flags " << state.flags.toInt() << " attributes " << state.attributes[0]
             << state.attributes[1] << state.attributes[2] << " mask " << state.mask.rectCount()
             << " geometry " << state.geometry.x() << "," << state.geometry.y() << " "
             << state.geometry.width() << "x" << state.geometry.height() << " visible "
             << state.visible;
    }
};

WindowState stateOf(const QWidget& window) {
    std::vector<bool> attributes;
    for (Qt::WidgetAttribute attribute :
         {Qt::WA_TranslucentBackground, Qt::WA_NoSystemBackground, Qt::WA_QuitOnClose})
        attributes.push_back(window.testAttribute(attribute));
    return {window.windowFlags(), attributes, window.mask(), window.geometry(), window.isVisible()};
}

QWidget* content() {
    auto* label = new QLabel(QStringLiteral("panel"));
    label->setFixedSize(340, 200);
    return label;
}

TEST(PopoverWindow, CompositedPopoverIsAFramelessTranslucentPopupWithRoomForItsShadow) {
    PopoverWindow window(content(), PopoverWindow::Style::popover, true);
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(window.windowType(), Qt::Popup);
    EXPECT_TRUE(window.testAttribute(Qt::WA_TranslucentBackground));
    EXPECT_TRUE(window.mask().isEmpty());
    int margin = PopoverWindow::kShadowMargin;
    EXPECT_EQ(window.panelRect(), QRect(margin, margin, 340, 200));
    EXPECT_EQ(window.size(), QSize(340 + 2 * margin, 200 + 2 * margin));
}

TEST(PopoverWindow, WithoutCompositorThePanelIsOpaqueAndCutToItsRoundedCorners) {
    PopoverWindow window(content(), PopoverWindow::Style::popover, false);
    EXPECT_FALSE(window.testAttribute(Qt::WA_TranslucentBackground));
    EXPECT_EQ(window.panelRect(), window.rect());
    EXPECT_FALSE(window.mask().contains(QPoint(1, 1)));
    EXPECT_TRUE(window.mask().contains(QPoint(20, 1)));
    EXPECT_TRUE(window.mask().contains(QPoint(1, 100)));
}

TEST(PopoverWindow, ApplyingAgainLeavesTheWindowAsTheFirstRunDidShownOrNot) {
    for (auto style : {PopoverWindow::Style::popover, PopoverWindow::Style::window})
        for (bool composited : {true, false}) {
            PopoverWindow window(content(), style, composited);
            WindowState once = stateOf(window);
            window.apply();
            EXPECT_EQ(stateOf(window), once);
            window.showBeside(QRect(400, 0, 1, 1));
            once = stateOf(window);
            window.apply();
            window.apply();
            EXPECT_EQ(stateOf(window), once);
            EXPECT_TRUE(window.isVisible());
        }
}

TEST(PopoverWindow, WithoutTrayItIsAnOrdinaryFixedSizeWindow) {
    PopoverWindow window(content(), PopoverWindow::Style::window, true);
    EXPECT_EQ(window.windowType(), Qt::Window);
    EXPECT_FALSE(window.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_FALSE(window.testAttribute(Qt::WA_TranslucentBackground));
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
}

TEST(PopoverWindow, TogglingClosesAnOpenPopoverAndIgnoresTheClickThatJustClosedIt) {
    PopoverWindow window(content(), PopoverWindow::Style::popover, true);
    window.toggleBeside(QRect(400, 0, 1, 1));
    EXPECT_TRUE(window.isVisible());
    window.toggleBeside(QRect(400, 0, 1, 1));
    EXPECT_FALSE(window.isVisible());
    window.toggleBeside(QRect(400, 0, 1, 1));
    EXPECT_FALSE(window.isVisible());
}

TEST(PopoverPlacement, CentresOnTheAnchorOnTheTraySideAndStaysOnScreen) {
    const QRect screen(0, 0, 1280, 800);
    const QSize panel(340, 500);
    // A tray at the top: under the item, centred.
    EXPECT_EQ(popoverPosition(panel, QRect(600, 0, 24, 24), screen, 4), QPoint(441, 30));
    // At the bottom: above the item.
    EXPECT_EQ(popoverPosition(panel, QRect(600, 776, 24, 24), screen, 4), QPoint(441, 270));
    // In a corner: pushed in, 4 from the edge.
    EXPECT_EQ(popoverPosition(panel, QRect(1270, 0, 10, 24), screen, 4).x(), 1280 - 4 - 340);
    // Taller than the screen: the top stays visible.
    EXPECT_EQ(popoverPosition(QSize(340, 900), QRect(600, 0, 24, 24), screen, 4).y(), 4);
}

}  // namespace
}  // namespace corvane::app
