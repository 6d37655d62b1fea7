#include "ui/PlainButton.h"

#include <QKeyEvent>

namespace corvane::ui {

PlainButton::PlainButton(QWidget* parent) : QAbstractButton(parent) {
    setFocusPolicy(Qt::TabFocus);
}

// Space is the button's own; Return and Enter press it too, as they do a dialog's buttons.
void PlainButton::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && event->modifiers() == Qt::NoModifier) {
        if (isEnabled()) click();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

}  // namespace corvane::ui
