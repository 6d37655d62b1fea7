#pragma once

#include <QPointer>
#include <QWidget>
#include <vector>

namespace corvane::ui {

// The ring in the accent colour around whichever control of `host` has the keyboard focus. It
// is drawn over the host, outside the control, and follows the control when it moves (a
// scrolled list) or goes. Controls that take the focus only from the keyboard show it only
// while the keyboard is in use.
class FocusRing final : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kOutset = 3;
    static constexpr double kLineWidth = 2;

    explicit FocusRing(QWidget& host);

    // The control the ring is around, if it shows.
    QWidget* target() const { return isVisible() ? target_.data() : nullptr; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void track(QWidget* focused);
    void place();

    QWidget& host_;
    QPointer<QWidget> target_;
    std::vector<QPointer<QWidget>> watched_;
};

}  // namespace corvane::ui
