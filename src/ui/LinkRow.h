#pragma once

#include <string_view>

#include "ui/PlainButton.h"

namespace corvane::ui {

// A plain button that reads as a link: a symbol in a 16-point column, then a small caption in
// the secondary colour over the address in semibold.
class LinkRow final : public PlainButton {
    Q_OBJECT
  public:
    LinkRow(std::string_view symbol, const QString& caption, const QString& address,
            QWidget* parent = nullptr);

    QString caption() const { return caption_; }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    std::string_view symbol_;
    QString caption_;
};

}  // namespace corvane::ui
