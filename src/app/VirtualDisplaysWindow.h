#pragma once

#include <QWidget>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/sim/SimDesktop.h"

namespace corvane {
class AppModel;
}

namespace corvane::app {

// The light a simulated display gives out, as the product of its controls, each 1 when the
// display does not have that control or it is not in use.
struct VirtualDisplayLight {
    // The backlight fraction, or the monitor's DDC/CI level over its maximum.
    double hardware = 1;
    // The gamma table's brightness against the display's profile.
    double gamma = 1;
    // The factor of the boost overlay shown over the display's screen.
    double boost = 1;

    double output() const { return hardware * gamma * boost; }
    bool operator==(const VirtualDisplayLight&) const = default;
};

VirtualDisplayLight lightOf(sim::SimDesktop& desktop, const sim::SimDisplay& display);

// A window that shows the simulated displays as screens lit by what the application does to
// them, with the level and control path the model reports, and buttons that press the
// simulated keyboard's brightness keys. The screens wrap into as many rows as the window's
// width asks for, and shrink when those rows would not fit its height; names too long for a
// tile are elided.
class VirtualDisplaysWindow : public QWidget {
    Q_OBJECT
  public:
    VirtualDisplaysWindow(sim::SimDesktop& desktop, AppModel& model);
    ~VirtualDisplaysWindow() override;

    // Presses and releases a brightness key on the simulated keyboard.
    void pressKey(int keyCode, bool option);

    QSize sizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

    // Where the display at `index` (in the simulation's order) is drawn, at the window's size.
    QRectF tileRect(int index) const;
    // How much the tiles are shrunk to fit the window: 1 while every row fits at full size.
    double tileScale() const;
    // How many tiles a row holds at `width`.
    static int columnsFor(int width);
    // The display's name as drawn: elided to the tile's width.
    QString shownName(const sim::SimDisplay& display) const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QWidget* makeKeyRow();
    int displayCount() const;
    // The tile at full size, laid out in the window's width widened by 1 / `scale`.
    QRectF fullSizeTileRect(int index, double scale) const;
    void paintDisplay(QPainter& painter, const QRectF& tile, const sim::SimDisplay& display);
    QString levelText(const sim::SimDisplay& display) const;
    // What the tiles show of each display; the window repaints when it differs.
    struct Shown {
        bool online;
        VirtualDisplayLight light;
        QString level;
        bool operator==(const Shown&) const = default;
    };
    std::vector<Shown> shown();
    void refresh();

    sim::SimDesktop& desktop_;
    AppModel& model_;
    int observer_ = 0;
    // The simulation has no change signal of its own and DDC/CI writes land on worker threads:
    // the window looks again whenever the model publishes, which its poll does a few times a
    // second.
    std::vector<Shown> painted_;
};

}  // namespace corvane::app
