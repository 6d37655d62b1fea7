#include "app/VirtualDisplaysWindow.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "model/AppModel.h"
#include "platform/SystemEventStream.h"
#include "ui/Fonts.h"
#include "ui/Theme.h"

namespace corvane::app {
namespace {

// The most tiles a row holds when the screen leaves room for them.
constexpr int kMostColumns = 4;
constexpr QSizeF kTileSize{240, 222};
constexpr double kPadding = 16;
constexpr double kScreenAspect = 10.0 / 16;
constexpr int kKeyRowHeight = 52;
// Tiles shrink in these steps, no further than this, to fit every row into the window.
constexpr double kScaleStep = 0.05;
constexpr double kSmallestScale = 0.3;
// What a window manager's title bar and frame take.
constexpr int kAssumedFrameHeight = 40;

// Dark glass when off, warm white when at full standard-range output.
QColor shadeFor(double output) {
    double lit = std::clamp(output, 0.0, 1.0);
    auto channel = [lit](int dark, int bright) {
        return static_cast<int>(std::lround(dark + (bright - dark) * std::pow(lit, 1 / 2.2)));
    };
    return QColor(channel(14, 255), channel(14, 248), channel(16, 232));
}

QFont nameFont() {
    return ui::fonts::system(12, QFont::DemiBold);
}

QString percentText(double fraction) {
    return QString::number(std::lround(fraction * 100)) + QLatin1Char('%');
}

}  // namespace

VirtualDisplayLight lightOf(sim::SimDesktop& desktop, const sim::SimDisplay& display) {
    VirtualDisplayLight light;
    if (display.config.backlight)
        light.hardware = *display.config.backlight;
    else if (display.monitor && display.monitor->maximum() > 0)
        light.hardware =
            static_cast<double>(display.monitor->current()) / display.monitor->maximum();
    if (desktop.gamma().hasTable(display.id)) light.gamma = desktop.gamma().factor(display.id);
    const sim::SimOverlayRecord* overlay = desktop.overlays().shownOver(display.id);
    if (overlay && !overlay->presentedFactors.empty())
        light.boost = overlay->presentedFactors.back();
    return light;
}

VirtualDisplaysWindow::VirtualDisplaysWindow(sim::SimDesktop& desktop, AppModel& model)
    : desktop_(desktop), model_(model) {
    setWindowTitle(QStringLiteral("Virtual displays — Corvane Display"));
    setAttribute(Qt::WA_QuitOnClose, false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addStretch(1);
    layout->addWidget(makeKeyRow());
    observer_ = model_.addObserver([this](ModelField) { refresh(); });
}

VirtualDisplaysWindow::~VirtualDisplaysWindow() {
    model_.removeObserver(observer_);
}

QWidget* VirtualDisplaysWindow::makeKeyRow() {
    auto* row = new QWidget(this);
    row->setFixedHeight(kKeyRowHeight);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(kPadding, 0, kPadding, kPadding);
    struct Key {
        const char* title;
        int code;
        bool option;
    };
    for (const Key& key : {Key{"Brightness Down", sim::kBrightnessDownKeyCode, false},
                           Key{"Brightness Up", sim::kBrightnessUpKeyCode, false},
                           Key{"⌥ Down (fine)", sim::kBrightnessDownKeyCode, true},
                           Key{"⌥ Up (fine)", sim::kBrightnessUpKeyCode, true}}) {
        auto* button = new QPushButton(QString::fromUtf8(key.title), row);
        button->setFocusPolicy(Qt::NoFocus);
        connect(button, &QPushButton::clicked, this,
                [this, key] { pressKey(key.code, key.option); });
        layout->addWidget(button);
    }
    layout->addStretch(1);
    return row;
}

void VirtualDisplaysWindow::pressKey(int keyCode, bool option) {
    std::uint64_t modifiers = option ? kOptionModifier : 0;
    desktop_.events().deliver(sim::auxButtonEvent(keyCode, sim::KeyState::pressed, modifiers));
    desktop_.events().deliver(sim::auxButtonEvent(keyCode, sim::KeyState::released, modifiers));
}

int VirtualDisplaysWindow::displayCount() const {
    return std::max<int>(1, static_cast<int>(desktop_.allDisplays().size()));
}

int VirtualDisplaysWindow::columnsFor(int width) {
    const int fitting = static_cast<int>((width - kPadding) / (kTileSize.width() + kPadding));
    return std::max(1, fitting);
}

// As many columns as the screen's width allows, up to four, and no taller than the screen:
// the tiles shrink when their rows would not fit.
QSize VirtualDisplaysWindow::sizeHint() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize room = screen ? screen->availableGeometry().size() : QSize(1280, 800);
    const int columns = std::min({displayCount(), kMostColumns, columnsFor(room.width())});
    const int width = static_cast<int>(kPadding + columns * (kTileSize.width() + kPadding));
    return QSize(width, std::min(heightForWidth(width), room.height() - kAssumedFrameHeight));
}

int VirtualDisplaysWindow::heightForWidth(int width) const {
    const int columns = columnsFor(width);
    const int rows = (displayCount() + columns - 1) / columns;
    return static_cast<int>(kPadding + rows * (kTileSize.height() + kPadding)) + kKeyRowHeight;
}

double VirtualDisplaysWindow::tileScale() const {
    const double room = height() - kKeyRowHeight;
    for (double scale = 1; scale > kSmallestScale; scale -= kScaleStep) {
        const int columns = columnsFor(static_cast<int>(width() / scale));
        const int rows = (displayCount() + columns - 1) / columns;
        if ((kPadding + rows * (kTileSize.height() + kPadding)) * scale <= room) return scale;
    }
    return kSmallestScale;
}

QRectF VirtualDisplaysWindow::fullSizeTileRect(int index, double scale) const {
    const int columns = columnsFor(static_cast<int>(width() / scale));
    int column = index % columns;
    int row = index / columns;
    return QRectF(kPadding + column * (kTileSize.width() + kPadding),
                  kPadding + row * (kTileSize.height() + kPadding), kTileSize.width(),
                  kTileSize.height());
}

QRectF VirtualDisplaysWindow::tileRect(int index) const {
    const double scale = tileScale();
    const QRectF full = fullSizeTileRect(index, scale);
    return {full.topLeft() * scale, full.size() * scale};
}

QString VirtualDisplaysWindow::shownName(const sim::SimDisplay& display) const {
    return QFontMetricsF(nameFont())
        .elidedText(QString::fromStdString(display.config.name), Qt::ElideRight, kTileSize.width());
}

QString VirtualDisplaysWindow::levelText(const sim::SimDisplay& display) const {
    for (const DisplaySnapshot& snapshot : model_.displays())
        if (snapshot.id == display.id)
            return QString::number(std::lround(snapshot.percent)) + QStringLiteral("%  ·  ") +
                   QString::fromUtf8(rawValue(snapshot.path).data(),
                                     static_cast<int>(rawValue(snapshot.path).size()));
    return QStringLiteral("offline");
}

std::vector<VirtualDisplaysWindow::Shown> VirtualDisplaysWindow::shown() {
    std::vector<Shown> shown;
    for (const sim::SimDisplay& display : desktop_.allDisplays())
        shown.push_back({display.online, lightOf(desktop_, display), levelText(display)});
    return shown;
}

void VirtualDisplaysWindow::refresh() {
    if (!isVisible()) return;
    std::vector<Shown> now = shown();
    if (now == painted_) return;
    painted_ = std::move(now);
    update();
}

void VirtualDisplaysWindow::paintEvent(QPaintEvent*) {
    painted_ = shown();
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    const double scale = tileScale();
    painter.scale(scale, scale);
    int index = 0;
    for (const sim::SimDisplay& display : desktop_.allDisplays())
        paintDisplay(painter, fullSizeTileRect(index++, scale), display);
}

void VirtualDisplaysWindow::paintDisplay(QPainter& painter, const QRectF& tile,
                                         const sim::SimDisplay& display) {
    QRectF bezel(tile.left(), tile.top(), tile.width(), tile.width() * kScreenAspect);
    QRectF screen = bezel.adjusted(6, 6, -6, -6);
    VirtualDisplayLight light = lightOf(desktop_, display);
    bool lit = display.online;

    // Boost shows as a warm glow around a screen already at full white.
    if (lit && light.output() > 1) {
        QColor glow = ui::theme::amber();
        glow.setAlphaF(static_cast<float>(std::min(0.9, (light.output() - 1) * 0.6)));
        painter.setPen(QPen(glow, 5));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(bezel.adjusted(-3, -3, 3, 3), 10, 10);
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(34, 34, 38));
    painter.drawRoundedRect(bezel, 8, 8);
    painter.setBrush(lit ? shadeFor(light.output()) : QColor(14, 14, 16));
    painter.drawRoundedRect(screen, 3, 3);

    const QString level = levelText(display);
    painter.setPen(ui::theme::primary());
    painter.setFont(nameFont());
    QRectF text(tile.left(), bezel.bottom() + 8, tile.width(), 18);
    painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, shownName(display));
    painter.setFont(ui::fonts::system(11));
    painter.drawText(text.translated(0, 18), Qt::AlignLeft | Qt::AlignVCenter, level);
    painter.drawText(text.translated(0, 34), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("light %1").arg(percentText(light.output())));
    painter.setPen(ui::theme::secondary());
    painter.setFont(ui::fonts::system(10));
    painter.drawText(text.translated(0, 50), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("level %1 · gamma %2 · boost ×%3")
                         .arg(percentText(light.hardware), percentText(light.gamma),
                              QString::number(light.boost, 'f', 2)));
}

}  // namespace corvane::app
