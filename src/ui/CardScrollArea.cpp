#include "ui/CardScrollArea.h"

#include <QApplication>
#include <QScrollBar>

#include "ui/OverlayScrollBar.h"

namespace corvane::ui {

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
