#include "ui/CardScrollArea.h"

#include <QApplication>
#include <QInputDevice>
#include <QScrollBar>
#include <QScroller>

#include "ui/OverlayScrollBar.h"

namespace corvane::ui {

namespace {

bool hasTouchScreen() {
    for (const QInputDevice* device : QInputDevice::devices())
        if (device->type() == QInputDevice::DeviceType::TouchScreen) return true;
    return false;
}

}  // namespace

CardScrollArea::CardScrollArea(QWidget* list, QWidget* parent) : QScrollArea(parent) {
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setWidgetResizable(true);
    setFocusPolicy(Qt::NoFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    // The panel is drawn by the popover behind the list.
    setAutoFillBackground(false);
    viewport()->setAutoFillBackground(false);
    setWidget(list);
    list->setAutoFillBackground(false);
    // On a touch screen a flick keeps the list moving; the mouse's left button stays with the
    // sliders, and wheels and touchpads scroll through the scroll bar.
    if (hasTouchScreen()) QScroller::grabGesture(viewport(), QScroller::TouchGesture);
    bar_ = new OverlayScrollBar(*verticalScrollBar(), this);
    placeBar();
    // A control reached with the keyboard scrolls into view, from whichever side it came.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* focused) {
        if (focused && widget() && widget()->isAncestorOf(focused))
            ensureWidgetVisible(focused, 0, kFocusMargin);
    });
}

bool CardScrollArea::scrolls() const {
    return verticalScrollBar()->maximum() > 0;
}

void CardScrollArea::resizeEvent(QResizeEvent* event) {
    QScrollArea::resizeEvent(event);
    placeBar();
}

void CardScrollArea::placeBar() {
    bar_->setGeometry(width() - OverlayScrollBar::kWidth - 1, 0, OverlayScrollBar::kWidth,
                      height());
    bar_->raise();
}

}  // namespace corvane::ui
