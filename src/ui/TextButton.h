#pragma once

#include "ui/PlainButton.h"

namespace corvane::ui {

// A plain button that is only its text, in the widget's font and the secondary label colour of
// the current palette (read at each paint, so that it follows a change of palette).
class TextButton : public PlainButton {
    Q_OBJECT
  public:
    explicit TextButton(const QString& text, QWidget* parent = nullptr);
    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace corvane::ui
