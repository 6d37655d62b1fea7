#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QWindow>

#include "app/AppTestSupport.h"
#include "app/ApplicationShell.h"
#include "app/DesktopCompositing.h"
#include "app/SimulatedDesktop.h"
#include "ui/GlowSlider.h"
#include "ui/MenuPopoverView.h"
#include "ui/PopoverTestSupport.h"
#include "ui/PresetPill.h"
#include "ui/SliderGeometry.h"

namespace corvane::app {
namespace {

using namespace corvane::app::testing;

using ui::testing::colourDistance;

// These tests read back what an X server shows. Run off screen, each runs itself again under a
// private Xvfb and passes when that run passes.
bool rerunUnderXvfb(const QString& test) {
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
    child.start(xvfbRun, {"-a", "-s", QStringLiteral("-screen 0 1280x800x24"),
                          QCoreApplication::applicationFilePath(),
                          QStringLiteral("--gtest_filter=PopoverOnX11.%1").arg(test)});
    bool finished = child.waitForFinished(60000);
    QString output = QString::fromLocal8Bit(child.readAll());
    EXPECT_TRUE(finished) << "the run under Xvfb hung";
    EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains(QStringLiteral("[  PASSED  ] 1 test"))) << output.toStdString();
    return true;
}

// The application's shell on a simulated desktop, its popover shown under a tray item at the
// top right of the screen and read back once painted.
class PopoverOnX11 : public ::testing::Test {
  protected:
    void TearDown() override {
        if (made) made->model->teardown();
    }

    // Whether this run is the one under X; the run off screen reports the other's result, or
    // is skipped without xvfb-run.
    bool onX11() {
        if (QGuiApplication::platformName() == QLatin1String("xcb")) return true;
        const QString test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        if (!rerunUnderXvfb(test)) skipWithoutXvfbRun();
        return false;
    }
    static void skipWithoutXvfbRun() { GTEST_SKIP() << "xvfb-run is not installed"; }
    void makeShell() {
        desktop.emplace(SimulatedDesktop::displays(2));
        made.emplace(*desktop);
        AppModel& model = *made->model;
        model.start();
        waitUntil([&] { return model.sessions().size() == 2; },  // monitor readings
                  std::chrono::seconds(5));
        shell.emplace(model, true, false);
    }
    void showUnderTray() {
        PopoverWindow& popover = shell->popover();
        popover.showBeside(QRect(1200, 2, 24, 24));
        auto exposed = [&] {
            return popover.windowHandle() && popover.windowHandle()->isExposed();
        };
        ASSERT_TRUE(waitUntil(exposed));
        runFor(std::chrono::milliseconds(300));  // the first paint after exposure
        screen = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
    }
    QColor at(QPoint point) const { return screen.pixelColor(point); }

    std::optional<SimulatedDesktop> desktop;
    std::optional<ModelOnDesktop> made;
    std::optional<ApplicationShell> shell;
    QImage screen;
};

TEST_F(PopoverOnX11, ShapedPanelActivePillAndSliderFillAsDrawnOnScreen) {
    if (!onX11()) return;
    ASSERT_NO_FATAL_FAILURE(makeShell());
    made->model->applyPreset(BrightnessPreset::sdr);
    // A bare X server has no compositing manager: the panel is opaque and shaped.
    ASSERT_FALSE(desktopComposites());
    ASSERT_NO_FATAL_FAILURE(showUnderTray());
    const QRect frame = shell->popover().geometry();

    // The corners show what lies behind the window; the panel begins just inside the curve.
    QColor behind = at(frame.topLeft() + QPoint(-4, 1));
    QColor fill = at(QPoint(frame.center().x(), frame.top() + 4));
    EXPECT_EQ(at(frame.topLeft() + QPoint(1, 1)), behind);
    EXPECT_EQ(at(frame.bottomRight() - QPoint(1, 1)), behind);
    EXPECT_GT(colourDistance(fill, behind), 200);
    EXPECT_LT(colourDistance(at(frame.topLeft() + QPoint(4, 40)), fill), 40);

    // The active pill: the sun gradient from gold on the left to ember on the right.
    ui::PresetPill* active = nullptr;
    for (auto* pill : shell->popoverView().findChildren<ui::PresetPill*>())
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
    auto sliders = shell->popoverView().findChildren<ui::GlowSlider*>();
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
    EXPECT_GT(colourDistance(start, fill), 150);
}

}  // namespace
}  // namespace corvane::app
