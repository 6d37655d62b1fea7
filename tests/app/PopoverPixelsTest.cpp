#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QWindow>

#include "app/ApplicationShell.h"
#include "app/DesktopCompositing.h"
#include "app/SimulatedDesktop.h"
#include "hud/BrightnessHUD.h"
#include "model/AppModel.h"
#include "ui/DisplayCardView.h"
#include "ui/GlowSlider.h"
#include "ui/MenuPopoverView.h"
#include "ui/PresetPill.h"
#include "ui/SliderGeometry.h"

namespace corvane::app {
namespace {

// Runs the event loop until `done` holds or `ms` pass.
template <typename Predicate>
void runUntil(Predicate done, int ms) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

void runFor(int ms) {
    runUntil([] { return false; }, ms);
}

int distance(QColor a, QColor b) {
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
           std::abs(a.blue() - b.blue());
}

// These tests read back what an X server shows. Run off screen, each runs itself again under a
// private Xvfb with a screen of `screen` ("1280x800") and passes when that run passes.
bool rerunUnderXvfb(const char* screen, const char* test) {
    QString xvfbRun = QStandardPaths::findExecutable(QStringLiteral("xvfb-run"));
    if (xvfbRun.isEmpty()) return false;
    // On X11 Qt talks to the session bus, whose library keeps a buffer to the end: not ours
    // to report when the run is checked for leaks.
    QTemporaryFile suppressions;
    if (!suppressions.open()) return false;
    suppressions.write("leak:libdbus-1.so\n");
    suppressions.flush();
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.insert(QStringLiteral("LSAN_OPTIONS"),
                       QStringLiteral("suppressions=") + suppressions.fileName());
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(xvfbRun, {"-a", "-s", QStringLiteral("-screen 0 %1x24").arg(screen),
                          QCoreApplication::applicationFilePath(),
                          QStringLiteral("--gtest_filter=PopoverOnX11.%1").arg(test)});
    bool finished = child.waitForFinished(60000);
    QString output = QString::fromLocal8Bit(child.readAll());
    EXPECT_TRUE(finished) << "the run under Xvfb hung";
    EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains(QStringLiteral("[  PASSED  ] 1 test"))) << output.toStdString();
    return true;
}

// Shows the popover under a tray item at the top right of the screen and waits for its paint.
void showUnderTray(PopoverWindow& popover) {
    popover.showBeside(QRect(1200, 2, 24, 24));
    auto exposed = [&] { return popover.windowHandle() && popover.windowHandle()->isExposed(); };
    runUntil(exposed, 10000);
    ASSERT_TRUE(exposed());
    runFor(300);  // the first paint after exposure
}

TEST(PopoverOnX11, ShapedPanelActivePillAndSliderFillAsDrawnOnScreen) {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        if (!rerunUnderXvfb("1280x800", "ShapedPanel*"))
            GTEST_SKIP() << "xvfb-run is not installed";
        return;
    }
    SimulatedDesktop desktop(SimulatedDesktop::displays(2));
    auto hud = BrightnessHUD::create(desktop.loop(), desktop.platform().screens,
                                     desktop.platform().indicatorPanels);
    auto model = AppModel::make(desktop.platform(), *hud);
    model->start();
    model->applyPreset(BrightnessPreset::sdr);
    // A bare X server has no compositing manager: the panel is opaque and shaped.
    ASSERT_FALSE(desktopComposites());
    ApplicationShell shell(*model, true, false);
    PopoverWindow& popover = shell.popover();
    ASSERT_NO_FATAL_FAILURE(showUnderTray(popover));
    QImage screen = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
    const QRect frame = popover.geometry();
    auto at = [&](QPoint point) { return screen.pixelColor(point); };

    // The corners show what lies behind the window; the panel begins just inside the curve.
    QColor behind = at(frame.topLeft() + QPoint(-4, 1));
    QColor fill = at(QPoint(frame.center().x(), frame.top() + 4));
    EXPECT_EQ(at(frame.topLeft() + QPoint(1, 1)), behind);
    EXPECT_EQ(at(frame.bottomRight() - QPoint(1, 1)), behind);
    EXPECT_GT(distance(fill, behind), 200);
    EXPECT_LT(distance(at(frame.topLeft() + QPoint(4, 40)), fill), 40);

    // The active pill: the sun gradient from gold on the left to ember on the right.
    ui::PresetPill* active = nullptr;
    for (auto* pill : shell.popoverView().findChildren<ui::PresetPill*>())
        if (pill->isActive()) active = pill;
    ASSERT_NE(active, nullptr);
    QRect pill(active->mapToGlobal(QPoint(0, 0)), active->size());
    QColor pillLeft = at(QPoint(pill.left() + 7, pill.center().y()));
    QColor pillRight = at(QPoint(pill.right() - 7, pill.center().y()));
    EXPECT_GT(pillLeft.red(), 220);
    EXPECT_GT(pillRight.red(), 200);
    EXPECT_GT(pillLeft.green() - pillRight.green(), 50);
    EXPECT_LT(pillRight.blue(), 100);

    // The first card's slider: the fill runs from gold to amber up to the knob.
    auto sliders = shell.popoverView().findChildren<ui::GlowSlider*>();
    ASSERT_FALSE(sliders.empty());
    ui::GlowSlider* slider = sliders.front();
    QRectF track = slider->trackRect();
    double fillEnd = track.left() + ui::slider_geometry::fillWidth(slider->value(), track.width());
    int y = static_cast<int>(track.center().y());
    QColor start = at(slider->mapToGlobal(QPoint(static_cast<int>(track.left()) + 5, y)));
    QColor end = at(slider->mapToGlobal(
        QPoint(static_cast<int>(fillEnd - ui::slider_geometry::kKnobDiameter - 3), y)));
    EXPECT_GT(start.red(), 220);
    EXPECT_GT(end.red(), 220);
    EXPECT_GT(start.green() - end.green(), 25);
    EXPECT_GT(distance(start, fill), 150);
    model->teardown();
}

TEST(PopoverOnX11, SevenDisplaysOnASmallScreenScrollTheCardsAndKeepTheFooterInView) {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        if (!rerunUnderXvfb("1280x720", "SevenDisplays*"))
            GTEST_SKIP() << "xvfb-run is not installed";
        return;
    }
    SimulatedDesktop desktop(SimulatedDesktop::displays(7));
    auto hud = BrightnessHUD::create(desktop.loop(), desktop.platform().screens,
                                     desktop.platform().indicatorPanels);
    auto model = AppModel::make(desktop.platform(), *hud);
    model->start();
    ApplicationShell shell(*model, true, false);
    ui::MenuPopoverView& view = shell.popoverView();
    ASSERT_EQ(view.cards().size(), 7u);
    ASSERT_NO_FATAL_FAILURE(showUnderTray(shell.popover()));
    const QRect screenArea = QGuiApplication::primaryScreen()->geometry();
    ASSERT_EQ(screenArea.height(), 720);
    QImage screen = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
    const QRect frame = shell.popover().geometry();
    EXPECT_TRUE(screenArea.contains(frame)) << frame.y() << " + " << frame.height();

    // The footer's buttons are on screen and drawn: their text stands out from the panel.
    const QColor fill = screen.pixelColor(frame.center().x(), frame.top() + 4);
    for (const char* name : {"aboutButton", "quitButton"}) {
        auto* button = view.findChild<QWidget*>(name);
        ASSERT_NE(button, nullptr);
        const QRect area(button->mapToGlobal(QPoint(0, 0)), button->size());
        EXPECT_TRUE(frame.contains(area)) << name;
        int strongest = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                strongest = std::max(strongest, distance(screen.pixelColor(x, y), fill));
        EXPECT_GT(strongest, 150) << name;
    }
    // The cards scroll; the last one starts out of view, below the list.
    auto* list = view.findChild<QWidget*>("cardScroll");
    ASSERT_NE(list, nullptr);
    ui::DisplayCardView* last = view.cards().back();
    EXPECT_GT(last->mapTo(list, QPoint(0, 0)).y(), list->height());
    model->teardown();
}

}  // namespace
}  // namespace corvane::app
