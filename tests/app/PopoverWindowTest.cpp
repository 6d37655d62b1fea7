#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <tuple>
#include <vector>

#include "app/PopoverPlacement.h"
#include "app/PopoverWindow.h"

namespace corvane::app {
namespace {

// Everything apply() may touch, to compare one window state with another.
auto stateOf(const QWidget& window) {
    return std::tuple(
        window.windowFlags().toInt(), window.testAttribute(Qt::WA_TranslucentBackground),
        window.testAttribute(Qt::WA_NoSystemBackground), window.testAttribute(Qt::WA_QuitOnClose),
        window.mask(), window.geometry(), window.isVisible());
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
    // The window's size follows: the panel is the window less the margin on every side.
    EXPECT_EQ(window.panelRect(), QRect(margin, margin, 340, 200));
}

// Without a compositor the panel is opaque and cut to its rounded corners: PopoverOnX11 reads
// that back from the X server.

TEST(PopoverWindow, ApplyingAgainLeavesTheWindowAsTheFirstRunDidShownOrNot) {
    for (auto style : {PopoverWindow::Style::popover, PopoverWindow::Style::window})
        for (bool composited : {true, false}) {
            PopoverWindow window(content(), style, composited);
            auto once = stateOf(window);
            window.apply();
            EXPECT_EQ(stateOf(window), once);
            window.showBeside(QRect(400, 0, 1, 1));
            once = stateOf(window);
            window.apply();
            window.apply();
            EXPECT_EQ(stateOf(window), once);
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

TEST(PopoverWindow, OpeningTellsTheContentTheRoomBesideTheTrayAndGivesItTheKeyboard) {
    QWidget* panel = content();
    PopoverWindow window(panel, PopoverWindow::Style::popover, false);
    std::vector<int> limits;
    QObject::connect(&window, &PopoverWindow::panelHeightLimitChanged,
                     [&](int height) { limits.push_back(height); });
    const QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    const QRect tray(screen->geometry().center().x(), screen->geometry().top(), 24, 24);
    window.showBeside(tray);
    const PopoverArea area{screen->geometry(), screen->availableGeometry(),
                           PopoverWindow::kScreenMargin};
    ASSERT_EQ(limits.size(), 1u);
    EXPECT_EQ(limits.front(), popoverHeightLimit(tray, area));
    EXPECT_EQ(window.focusWidget(), panel);
}

// Which edge holds the tray shows in where the popover goes; only the cases where the place
// would not tell are asked of trayEdge directly.
TEST(PopoverPlacement, BesideATrayOnEachEdgeCentredOnTheItemAndInsideTheWorkArea) {
    const QRect screen(0, 0, 1280, 800);
    const QSize panel(340, 500);
    // A top panel 28 high: under the item, centred on it.
    const PopoverArea topPanel{screen, QRect(0, 28, 1280, 772), 4};
    EXPECT_EQ(popoverPosition(panel, QRect(600, 2, 24, 24), topPanel), QPoint(441, 32));
    EXPECT_EQ(popoverHeightLimit(QRect(600, 2, 24, 24), topPanel), 800 - 4 - 32);
    // In the corner: moved along the edge, 4 from the screen's side.
    EXPECT_EQ(popoverPosition(panel, QRect(1250, 2, 24, 24), topPanel), QPoint(1280 - 4 - 340, 32));
    // A bottom panel 40 high: above the item.
    const PopoverArea bottomPanel{screen, QRect(0, 0, 1280, 760), 4};
    EXPECT_EQ(popoverPosition(panel, QRect(600, 768, 24, 24), bottomPanel), QPoint(441, 256));
    EXPECT_EQ(popoverHeightLimit(QRect(600, 768, 24, 24), bottomPanel), 756 - 4);
    // A dock on the left, 48 wide: right of it, centred on the item's height.
    const PopoverArea leftDock{screen, QRect(48, 0, 1232, 800), 4};
    // Even in the dock's top corner: the dock, not the nearer top edge, holds the item.
    EXPECT_EQ(trayEdge(QRect(12, 2, 24, 24), leftDock), TrayEdge::left);
    EXPECT_EQ(popoverPosition(panel, QRect(12, 400, 24, 24), leftDock), QPoint(52, 161));
    EXPECT_EQ(popoverPosition(panel, QRect(12, 10, 24, 24), leftDock), QPoint(52, 4));
    EXPECT_EQ(popoverHeightLimit(QRect(12, 400, 24, 24), leftDock), 792);
    // A panel on the right: left of it, kept above the screen's bottom.
    const PopoverArea rightPanel{screen, QRect(0, 0, 1232, 800), 4};
    EXPECT_EQ(popoverPosition(panel, QRect(1244, 780, 24, 24), rightPanel), QPoint(888, 296));
    // The pointer in the middle of a screen without panels: the nearest edge.
    EXPECT_EQ(trayEdge(QRect(700, 300, 1, 1), PopoverArea{screen, screen, 4}), TrayEdge::top);
}

TEST(PopoverPlacement, NeverCoversTheTrayItemOnAnyEdgeOrScreen) {
    // The second screen stands right of the first, with its own (scaled) geometry.
    for (const QRect screen : {QRect(0, 0, 1280, 800), QRect(1280, 0, 1280, 720)}) {
        const int top = screen.top(), left = screen.left();
        const int right = screen.right() + 1, bottom = screen.bottom() + 1;
        struct Case {
            QRect anchor;
            QRect available;
        };
        std::vector<Case> cases;
        for (int along = 0; along <= 10; ++along) {
            const int x = left + (screen.width() - 24) * along / 10;
            const int y = top + (screen.height() - 24) * along / 10;
            cases.push_back({QRect(x, top + 2, 24, 24), screen.adjusted(0, 28, 0, 0)});
            cases.push_back({QRect(x, bottom - 30, 24, 24), screen.adjusted(0, 0, 0, -32)});
            cases.push_back({QRect(left + 2, y, 24, 24), screen.adjusted(30, 0, 0, 0)});
            cases.push_back({QRect(right - 28, y, 24, 24), screen.adjusted(0, 0, -30, 0)});
            // Panels that hide themselves reserve no room: the item lies in the work area.
            cases.push_back({QRect(x, top + 2, 24, 24), screen});
            cases.push_back({QRect(x, bottom - 26, 24, 24), screen});
            cases.push_back({QRect(left + 2, y, 24, 24), screen});
            cases.push_back({QRect(right - 26, y, 24, 24), screen});
        }
        for (const Case& each : cases) {
            const PopoverArea area{screen, each.available, 4};
            const int limit = popoverHeightLimit(each.anchor, area);
            for (const int height : {300, limit, limit + 200}) {
                const QRect placed(popoverPosition(QSize(340, height), each.anchor, area),
                                   QSize(340, height));
                EXPECT_FALSE(placed.intersects(each.anchor))
                    << placed.x() << "," << placed.y() << " height " << height;
                if (height <= limit) {
                    EXPECT_TRUE(each.available.adjusted(4, 4, -4, -4).contains(placed))
                        << placed.x() << "," << placed.y() << " height " << height;
                }
            }
        }
    }
}

}  // namespace
}  // namespace corvane::app
