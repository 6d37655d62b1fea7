#include "app/PopoverWindow.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <algorithm>

#include "app/PopoverPlacement.h"
#include "ui/SoftShadow.h"

namespace corvane::app {
namespace {

// A click on the tray item this soon after the popover closed is the click that closed it.
constexpr qint64 kReopenGuardMs = 300;
constexpr double kShadowOpacity = 0.3;
constexpr double kShadowRadius = 16;
constexpr QPointF kShadowOffset{0, 5};
// What a window manager's title bar and frame take, until the window has been framed once.
constexpr int kAssumedFrameHeight = 40;

QPainterPath roundedPanel(const QRectF& rect) {
    QPainterPath path;
    path.addRoundedRect(rect, PopoverWindow::kCornerRadius, PopoverWindow::kCornerRadius);
    return path;
}

bool onWayland() {
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

}  // namespace

PopoverWindow::PopoverWindow(QWidget* content, Style style, bool composited)
    : content_(content), style_(style), composited_(composited) {
    content_->setParent(this);
    setWindowTitle(QStringLiteral("Corvane Display"));
    apply();
    fitContent();
}

Qt::WindowFlags PopoverWindow::wantedFlags() const {
    if (style_ == Style::window)
        return Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
               Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint;
    // A Wayland popup needs a parent surface, which a tray item does not offer: there the
    // popover is a tool window that closes when it loses focus.
    Qt::WindowFlags kind = onWayland() ? Qt::Tool | Qt::WindowStaysOnTopHint : Qt::Popup;
    return kind | Qt::FramelessWindowHint | Qt::NoDropShadowWindowHint;
}

bool PopoverWindow::translucent() const {
    return style_ == Style::popover && composited_;
}

int PopoverWindow::margin() const {
    return translucent() ? kShadowMargin : 0;
}

void PopoverWindow::apply() {
    if (windowFlags() != wantedFlags()) {
        // Changing the flags takes the window off screen; put it back as it was.
        bool wasVisible = isVisible();
        setWindowFlags(wantedFlags());
        if (wasVisible) show();
    }
    setAttribute(Qt::WA_TranslucentBackground, translucent());
    setAttribute(Qt::WA_NoSystemBackground, translucent());
    setAttribute(Qt::WA_QuitOnClose, false);
    updateMask();
}

void PopoverWindow::setStyle(Style style) {
    if (style == style_) return;
    style_ = style;
    // The window style fixes its size; the popover only resizes.
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    shadow_ = QPixmap();
    apply();
    fitContent();
}

QRect PopoverWindow::panelRect() const {
    return rect().adjusted(margin(), margin(), -margin(), -margin());
}

// Without a compositor the corners outside the panel would show as black: cut them away.
void PopoverWindow::updateMask() {
    if (style_ == Style::popover && !composited_)
        setMask(QRegion(roundedPanel(panelRect()).toFillPolygon().toPolygon()));
    else if (!mask().isEmpty())
        clearMask();
}

void PopoverWindow::fitContent() {
    QSize size = content_->sizeHint().expandedTo(content_->minimumSizeHint());
    content_->setGeometry(margin(), margin(), size.width(), size.height());
    QSize windowSize = size + QSize(2 * margin(), 2 * margin());
    if (style_ == Style::window)
        setFixedSize(windowSize);
    else
        resize(windowSize);
    // A hidden window hears of its new size only when shown: shape it now.
    updateMask();
}

bool PopoverWindow::event(QEvent* event) {
    // The content asks for a new size through its parent.
    if (event->type() == QEvent::LayoutRequest) fitContent();
    if (event->type() == QEvent::WindowDeactivate && style_ == Style::popover &&
        !(windowFlags() & Qt::Popup) && isVisible())
        hide();
    return QWidget::event(event);
}

void PopoverWindow::limitPanelHeight(const QRect& anchor, const QRect& screen,
                                     const QRect& available) {
    int limit = popoverHeightLimit(anchor, {screen, available, kScreenMargin});
    if (style_ == Style::window) {
        const int frame = isVisible() ? frameGeometry().height() - height() : kAssumedFrameHeight;
        limit = available.height() - 2 * kScreenMargin - std::max(frame, 0);
    }
    emit panelHeightLimitChanged(limit);
}

void PopoverWindow::showBeside(const QRect& anchor) {
    apply();
    QScreen* screen = QGuiApplication::screenAt(anchor.center());
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (screen) limitPanelHeight(anchor, screen->geometry(), screen->availableGeometry());
    fitContent();
    if (screen) {
        const PopoverArea area{screen->geometry(), screen->availableGeometry(), kScreenMargin};
        move(popoverPosition(panelRect().size(), anchor, area) - QPoint(margin(), margin()));
    }
    show();
    raise();
    activateWindow();
    // Keys go to the popover as soon as it opens, whether the mouse or the keyboard opened it:
    // Tab then walks its controls and Escape closes it.
    QWidget* focused = focusWidget();
    if (!focused || !focused->isVisible()) content_->setFocus(Qt::PopupFocusReason);
}

void PopoverWindow::toggleBeside(const QRect& anchor) {
    bool justClosed = sinceHidden_.isValid() && sinceHidden_.elapsed() < kReopenGuardMs;
    if (isVisible())
        hide();
    else if (!justClosed)
        showBeside(anchor);
}

void PopoverWindow::hideEvent(QHideEvent* event) {
    sinceHidden_.start();
    QWidget::hideEvent(event);
}

void PopoverWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && style_ == Style::popover) {
        hide();
        return;
    }
    QWidget::keyPressEvent(event);
}

void PopoverWindow::resizeEvent(QResizeEvent* event) {
    shadow_ = QPixmap();
    updateMask();
    QWidget::resizeEvent(event);
}

void PopoverWindow::paintEvent(QPaintEvent*) {
    if (!translucent()) return;
    QPainter painter(this);
    painter.drawPixmap(0, 0, shadow());
}

// The shadow under the panel, drawn once per size: the popover repaints on every slider move.
// A shadow has no detail to lose, so it is blurred at a quarter of the resolution and scaled
// up, which makes it some fifty times cheaper to draw.
const QPixmap& PopoverWindow::shadow() {
    if (!shadow_.isNull()) return shadow_;
    constexpr double kShrink = 4;
    QTransform shrink = QTransform::fromScale(1 / kShrink, 1 / kShrink);
    QImage small((QSizeF(size()) / kShrink).toSize() + QSize(1, 1),
                 QImage::Format_ARGB32_Premultiplied);
    small.fill(Qt::transparent);
    QColor color(0, 0, 0);
    color.setAlphaF(static_cast<float>(kShadowOpacity));
    {
        QPainter painter(&small);
        ui::paintSoftShadow(painter, shrink.map(roundedPanel(panelRect())), color,
                            kShadowRadius / kShrink, kShadowOffset / kShrink);
    }
    qreal ratio = devicePixelRatioF();
    shadow_ = QPixmap(size() * ratio);
    shadow_.setDevicePixelRatio(ratio);
    shadow_.fill(Qt::transparent);
    QPainter painter(&shadow_);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRectF(QPointF(0, 0), QSizeF(small.size()) * kShrink), small);
    // The panel is translucent: no shadow may show through it.
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setCompositionMode(QPainter::CompositionMode_Clear);
    painter.fillPath(roundedPanel(panelRect()), Qt::transparent);
    return shadow_;
}

}  // namespace corvane::app
