#include "ui/FocusRing.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QPainter>
#include <algorithm>

#include "ui/Theme.h"

namespace corvane::ui {
namespace {

constexpr double kLargestRadius = 10;

// The part of `target`'s rectangle (in `host`) not cut away by a scrolled list around it.
QRect visiblePart(QWidget& host, QWidget& target) {
    QRect shown(target.mapTo(&host, QPoint(0, 0)), target.size());
    for (QWidget* up = target.parentWidget(); up && up != &host; up = up->parentWidget()) {
        if (auto* area = qobject_cast<QAbstractScrollArea*>(up)) {
            QWidget* view = area->viewport();
            shown &= QRect(view->mapTo(&host, QPoint(0, 0)), view->size());
        }
    }
    return shown;
}

}  // namespace

FocusRing::FocusRing(QWidget& host) : QWidget(&host), host_(host) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    hide();
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* focused) { track(focused); });
}

void FocusRing::track(QWidget* focused) {
    for (const QPointer<QWidget>& watched : watched_)
        if (watched) watched->removeEventFilter(this);
    watched_.clear();
    const bool ours = focused && focused != &host_ && host_.isAncestorOf(focused) &&
                      (focused->focusPolicy() & Qt::TabFocus);
    target_ = ours ? focused : nullptr;
    // The control moves when it or anything around it moves: watch them all.
    for (QWidget* up = target_; up && up != &host_; up = up->parentWidget()) {
        up->installEventFilter(this);
        watched_.emplace_back(up);
    }
    place();
}

void FocusRing::place() {
    if (!target_ || !target_->isVisibleTo(&host_)) {
        hide();
        return;
    }
    const QRect shown = visiblePart(host_, *target_);
    if (shown.isEmpty()) {
        hide();
        return;
    }
    setGeometry(shown.adjusted(-kOutset, -kOutset, kOutset, kOutset));
    show();
    raise();
    update();
}

bool FocusRing::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Show:
        case QEvent::Hide:
            place();
            break;
        default:
            break;
    }
    return QWidget::eventFilter(watched, event);
}

void FocusRing::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const double inset = kLineWidth / 2;
    const QRectF ring = QRectF(rect()).adjusted(inset, inset, -inset, -inset);
    const double radius = std::min(ring.height() / 2, kLargestRadius);
    painter.setPen(QPen(theme::amber(), kLineWidth));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(ring, radius, radius);
}

}  // namespace corvane::ui
