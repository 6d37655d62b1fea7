#pragma once

#include <QAbstractButton>
#include <QColor>

namespace corvane::ui {

// A plain button that is only its text, in the given colour and the widget's font.
class TextButton : public QAbstractButton {
    Q_OBJECT
public:
    TextButton(const QString& text, QColor color, QWidget* parent = nullptr);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor color_;
};

}  // namespace corvane::ui
