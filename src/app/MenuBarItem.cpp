#include "app/MenuBarItem.h"

#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QPalette>

#include "model/AppModel.h"

namespace corvane::app {

MenuBarItem::MenuBarItem(AppModel& model, QObject* parent) : QObject(parent), model_(model) {
    tray_.setToolTip(QStringLiteral("Corvane Display"));
    connect(&tray_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason) {
        emit activated();
    });
    // Every field can change what the glyph shows: displays (levels, boost) and the two
    // readout settings. Comparing the inputs is cheap; drawing happens only on a change.
    observer_ = model_.addObserver([this](ModelField) { update(); });
    qApp->installEventFilter(this);
    update();
}

MenuBarItem::~MenuBarItem() { model_.removeObserver(observer_); }

void MenuBarItem::update() {
    GlyphInputs inputs = GlyphInputs::from(model_);
    GlyphColors colors = GlyphColors::from(QApplication::palette());
    if (inputs == inputs_ && colors == colors_) return;
    inputs_ = inputs;
    GlyphContent content = glyphContent(inputs);
    if (content != content_ || colors != colors_) redraw(content, colors);
}

void MenuBarItem::redraw(const GlyphContent& content, const GlyphColors& colors) {
    content_ = content;
    colors_ = colors;
    icon_ = glyphIcon(content, colors);
    tray_.setIcon(icon_);
    ++redraws_;
}

QRect MenuBarItem::anchor() const {
    QRect geometry = tray_.geometry();
    return geometry.isValid() ? geometry : QRect(QCursor::pos(), QSize(1, 1));
}

// The glyph is drawn in the palette's text colour: follow the desktop's theme.
bool MenuBarItem::eventFilter(QObject* watched, QEvent* event) {
    if (watched == qApp && event->type() == QEvent::ApplicationPaletteChange) update();
    return QObject::eventFilter(watched, event);
}

}  // namespace corvane::app
