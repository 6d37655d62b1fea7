#pragma once

#include <QDir>
#include <QObject>
#include <QTimer>
#include <functional>
#include <vector>

namespace corvane {
class AppModel;
}

namespace corvane::app {

class ApplicationShell;
class SimulatedDesktop;
class VirtualDisplaysWindow;

// The scripted demonstration: opens the popover, presses the brightness keys up and down,
// applies a preset, saves screenshots of the popover, the indicator, the tray glyph and the
// virtual displays into a folder, prints every display's level and control path, and quits.
// A watchdog ends the application with an error should a step hang.
class DemoScript : public QObject {
    Q_OBJECT
  public:
    DemoScript(const QString& folder, SimulatedDesktop& desktop, AppModel& model,
               ApplicationShell& shell, VirtualDisplaysWindow& virtualDisplays);

    void start();

  private:
    struct Step {
        int delayMs;
        std::function<void()> action;
    };

    std::vector<Step> steps();
    void runStep(std::size_t index);
    void openPopover();
    void pressKey(int keyCode, bool option);
    void saveWidget(QWidget& widget, const QString& name);
    void saveIndicator();
    void saveTrayGlyph();
    void saveScreen(const QString& name);
    void printDisplays();
    void fail(const QString& reason);

    QDir folder_;
    SimulatedDesktop& desktop_;
    AppModel& model_;
    ApplicationShell& shell_;
    VirtualDisplaysWindow& virtualDisplays_;
    std::vector<Step> steps_;
    QTimer watchdog_;
};

}  // namespace corvane::app
