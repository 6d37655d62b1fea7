#include "app/DemoScript.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QWidget>
#include <cmath>
#include <iostream>

#include "app/ApplicationShell.h"
#include "app/GlyphIcon.h"
#include "app/SimulatedDesktop.h"
#include "app/VirtualDisplaysWindow.h"
#include "model/AppModel.h"

namespace corvane::app {
namespace {

constexpr std::chrono::seconds kWatchdog{30};
// Time for windows to be mapped and painted before a screenshot.
constexpr int kSettleMs = 700;
// Between key presses: above the key monitor's bounce filter, within the hold.
constexpr int kKeyGapMs = 180;

// The widget as it looks on a compositing desktop: outside a shaped window's mask is clear.
QImage grabShaped(QWidget& widget) {
    QImage image = widget.grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (widget.mask().isEmpty()) return image;
    QImage shaped(image.size(), QImage::Format_ARGB32_Premultiplied);
    shaped.setDevicePixelRatio(image.devicePixelRatio());
    shaped.fill(Qt::transparent);
    QPainter painter(&shaped);
    painter.setClipRegion(widget.mask());
    painter.drawImage(0, 0, image);
    return shaped;
}

}  // namespace

DemoScript::DemoScript(const QString& folder, SimulatedDesktop& desktop, AppModel& model,
                       ApplicationShell& shell, VirtualDisplaysWindow& virtualDisplays)
    : folder_(folder),
      desktop_(desktop),
      model_(model),
      shell_(shell),
      virtualDisplays_(virtualDisplays) {
    watchdog_.setSingleShot(true);
    watchdog_.setInterval(kWatchdog);
    connect(&watchdog_, &QTimer::timeout, this,
            [this] { fail(QStringLiteral("the demonstration took too long")); });
}

void DemoScript::start() {
    if (!folder_.mkpath(QStringLiteral("."))) {
        fail(QStringLiteral("cannot make the folder ") + folder_.path());
        return;
    }
    watchdog_.start();
    steps_ = steps();
    runStep(0);
}

std::vector<DemoScript::Step> DemoScript::steps() {
    return {
        {0, [this] { openPopover(); }},
        {kSettleMs,
         [this] {
             saveWidget(shell_.popover(), QStringLiteral("popover.png"));
             saveWidget(virtualDisplays_, QStringLiteral("virtual-displays-start.png"));
         }},
        {0, [this] { pressKey(sim::kBrightnessUpKeyCode, false); }},
        {kKeyGapMs, [this] { pressKey(sim::kBrightnessUpKeyCode, false); }},
        {kKeyGapMs, [this] { saveIndicator(); }},
        {kKeyGapMs, [this] { pressKey(sim::kBrightnessDownKeyCode, true); }},
        {kKeyGapMs, [this] { pressKey(sim::kBrightnessDownKeyCode, true); }},
        {kSettleMs, [this] { model_.applyPreset(BrightnessPreset::nits1000); }},
        {kSettleMs,
         [this] {
             saveWidget(shell_.popover(), QStringLiteral("popover-after-preset.png"));
             saveWidget(virtualDisplays_, QStringLiteral("virtual-displays.png"));
             saveTrayGlyph();
             saveScreen(QStringLiteral("screen.png"));
         }},
        {0,
         [this] {
             printDisplays();
             QCoreApplication::exit(0);
         }},
    };
}

void DemoScript::runStep(std::size_t index) {
    if (index == steps_.size()) return;
    QTimer::singleShot(steps_[index].delayMs, this, [this, index] {
        steps_[index].action();
        runStep(index + 1);
    });
}

// In the top right corner, as from a tray item there, with the virtual displays in the lower
// left.
void DemoScript::openPopover() {
    QScreen* screen = QGuiApplication::primaryScreen();
    QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1280, 800);
    shell_.popover().showBeside(QRect(area.right() - 60, area.top(), 1, 1));
    virtualDisplays_.move(area.left() + 8, area.bottom() - virtualDisplays_.height() - 8);
}

void DemoScript::pressKey(int keyCode, bool option) {
    virtualDisplays_.pressKey(keyCode, option);
    std::cout << "key " << (keyCode == sim::kBrightnessUpKeyCode ? "up" : "down")
              << (option ? " with Option" : "") << "\n";
}

void DemoScript::saveWidget(QWidget& widget, const QString& name) {
    QString path = folder_.filePath(name);
    if (!grabShaped(widget).save(path)) fail(QStringLiteral("cannot write ") + path);
}

// The indicator is whichever other top-level window the application shows.
void DemoScript::saveIndicator() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (!widget->isVisible() || widget == &shell_.popover() || widget == &virtualDisplays_)
            continue;
        saveWidget(*widget, QStringLiteral("indicator.png"));
        return;
    }
    std::cout << "no indicator window on screen to save\n";
}

void DemoScript::saveTrayGlyph() {
    MenuBarItem* item = shell_.menuBarItem();
    if (!item) return;
    for (int size : {22, 24}) {
        QString name = QStringLiteral("tray-glyph-%1@2x.png").arg(size);
        paintGlyph(item->content(), size, 2).save(folder_.filePath(name));
    }
}

void DemoScript::saveScreen(const QString& name) {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (screen) screen->grabWindow(0).save(folder_.filePath(name));
}

void DemoScript::printDisplays() {
    for (const DisplaySnapshot& display : model_.displays()) {
        std::cout << display.name << ": " << std::lround(display.percent) << "% ("
                  << rawValue(display.path) << ")";
        if (display.estimatedNits) std::cout << ", about " << *display.estimatedNits << " nits";
        std::cout << "\n";
    }
    std::cout << "Screenshots: " << folder_.absolutePath().toStdString() << std::endl;
}

void DemoScript::fail(const QString& reason) {
    std::cerr << "corvane-display demo: " << reason.toStdString() << std::endl;
    QCoreApplication::exit(1);
}

}  // namespace corvane::app
