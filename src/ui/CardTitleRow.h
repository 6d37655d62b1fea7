#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QStaticText>
#include <QString>
#include <QWidget>

namespace corvane::ui {

// A card's top row: the display's name over its status line on the leading side, the level in
// percent over the luminance on the trailing side, the two sides aligned on their first
// baselines. The name and status give way (elided) to the figures.
class CardTitleRow : public QWidget {
    Q_OBJECT
  public:
    struct Texts {
        QString name;
        QString status;
        QString percent;
        // Empty when the display has no luminance to show.
        QString nits;

        friend bool operator==(const Texts&, const Texts&) = default;
    };

    explicit CardTitleRow(QWidget* parent = nullptr);

    const Texts& texts() const { return texts_; }
    void setTexts(Texts texts);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    struct Layout;
    // One line as last laid out: for its text, font and the room it had (elided to fit; none
    // for the figures, which are never elided). Only a line whose text or room changed is laid
    // out again, so a level step lays out just the new figure.
    struct Line {
        QString text;
        double room = -1;
        QStaticText laidOut;
        double advance = 0;
    };
    static const Line& laidOut(Line& line, const QString& text, const QFont& font, double room);
    Layout layout(double width) const;
    double trailingWidth() const;

    Texts texts_;
    QFont nameFont_;
    QFont statusFont_;
    QFont percentFont_;
    QFont nitsFont_;
    // The fonts' measures, taken once: every layout and paint needs them.
    QFontMetricsF nameMetrics_, statusMetrics_, percentMetrics_, nitsMetrics_;
    mutable Line name_, status_, percent_, nits_;
};

}  // namespace corvane::ui
