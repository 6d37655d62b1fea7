#pragma once

#include <QWidget>

namespace corvane::ui {

// A container drawn as a card (the rounded, faintly filled shape of the display cards) behind
// whatever its layout holds.
class CardFrame final : public QWidget {
    Q_OBJECT
  public:
    explicit CardFrame(QWidget* parent = nullptr) : QWidget(parent) {}

  protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace corvane::ui
