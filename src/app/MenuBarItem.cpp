#include "app/MenuBarItem.h"

#include <QCursor>

#include "model/AppModel.h"

namespace corvane::app {

MenuBarItem::MenuBarItem(AppModel& model, QObject* parent) : QObject(parent), model_(model) {
    tray_.setToolTip(QStringLiteral("Corvane Display"));
    // A double click arrives after its first click has already toggled the popover.
    connect(&tray_, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason != QSystemTrayIcon::DoubleClick) emit activated();
            });
    // Every field can change what the glyph shows: displays (levels, boost) and the two
    // readout settings. Comparing the inputs is cheap; drawing happens only on a change.
    observer_ = model_.addObserver([this](ModelField) { update(); });
    update();
}

MenuBarItem::~MenuBarItem() {
    model_.removeObserver(observer_);
}

void MenuBarItem::update() {
    GlyphInputs inputs = GlyphInputs::from(model_);
    if (inputs == inputs_) return;
    inputs_ = inputs;
    GlyphContent content = glyphContent(inputs);
    if (content != content_) redraw(content);
}

void MenuBarItem::redraw(const GlyphContent& content) {
    content_ = content;
    icon_ = glyphIcon(content);
    tray_.setIcon(icon_);
    ++redraws_;
}

QRect MenuBarItem::anchor() const {
    QRect geometry = tray_.geometry();
    return geometry.isValid() ? geometry : QRect(QCursor::pos(), QSize(1, 1));
}

}  // namespace corvane::app
