#pragma once

#include <QAbstractButton>
#include <QColor>
#include <optional>

namespace corvane::ui {

// A plain button that is only its text, in the widget's font: in the given colour, or without
// one in the secondary label colour of the current palette.
class TextButton : public QAbstractButton {
    Q_OBJECT
  public:
    TextButton(const QString& text, QColor color, QWidget* parent = nullptr);
    explicit TextButton(const QString& text, QWidget* parent = nullptr);
    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    std::optional<QColor> color_;
};

}  // namespace corvane::ui
