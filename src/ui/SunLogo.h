#pragma once

#include <QWidget>

namespace corvane::ui {

// The product's logo: a 36-point sun-gradient disc with a dark sun on it and a warm glow
// beneath. The glow spills past the widget's edges onto its parent.
class SunLogo final : public QWidget {
    Q_OBJECT
  public:
    explicit SunLogo(QWidget* parent = nullptr);

  protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace corvane::ui
