#include "ui/IndicatorPanelWidget.h"

#include <QPainter>
#include <cmath>

#include "ui/DesktopCoordinates.h"
#include "ui/IndicatorContent.h"

namespace corvane::ui {
namespace {

// A tool window outside the window manager's focus and stacking rules where the platform has
// them (X11), kept on top and handed no input.
constexpr Qt::WindowFlags kWindowFlags =
    Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus |
    Qt::WindowTransparentForInput | Qt::X11BypassWindowManagerHint | Qt::NoDropShadowWindowHint;

QSize pixelSize(const Size& size) {
    return {static_cast<int>(std::lround(size.width)), static_cast<int>(std::lround(size.height))};
}

}  // namespace

IndicatorPanelWidget::IndicatorPanelWidget(const Size& size, bool composited)
    : QWidget(nullptr, kWindowFlags), composited_(composited) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_X11DoNotAcceptFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_TranslucentBackground, composited);
    setFocusPolicy(Qt::NoFocus);
    setFixedSize(pixelSize(size));
}

void IndicatorPanelWidget::setContent(const BrightnessHUDView& view) {
    content_ = view;
    update();
}

void IndicatorPanelWidget::setFrame(const Rect& frame) {
    const QRectF geometry = desktop::toQt(frame);
    setFixedSize(qRound(geometry.width()), qRound(geometry.height()));
    move(qRound(geometry.x()), qRound(geometry.y()));
    update();
}

void IndicatorPanelWidget::orderFront() {
    show();
    raise();
}

void IndicatorPanelWidget::orderOut() {
    hide();
}

void IndicatorPanelWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintIndicator(painter, content_, size(), composited_);
}

std::unique_ptr<IndicatorPanel> QtIndicatorPanels::make(const Size& size) {
    return std::make_unique<IndicatorPanelWidget>(size, composited_);
}

}  // namespace corvane::ui
