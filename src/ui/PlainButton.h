#pragma once

#include <QAbstractButton>

namespace corvane::ui {

// The base of the popover's plain buttons, pills and switches: reached with Tab (a click does
// not move the focus to it) and pressed with Space, Return or Enter.
class PlainButton : public QAbstractButton {
    Q_OBJECT
  public:
    explicit PlainButton(QWidget* parent = nullptr);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace corvane::ui
