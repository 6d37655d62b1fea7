#include <QLabel>

#include "ui/AboutView.h"
#include "ui/CardTitleRow.h"
#include "ui/LinkRow.h"
#include "ui/PopoverTestSupport.h"
#include "ui/StepButton.h"

namespace corvane::ui {
namespace {

using sim::SimDisplayConfig;

QPalette paletteWith(QColor window, QColor text) {
    QPalette palette = QApplication::palette();
    palette.setColor(QPalette::Window, window);
    palette.setColor(QPalette::WindowText, text);
    return palette;
}

// The colour of a widget's strongest mark (its text or symbol): its most opaque pixel, drawn
// on nothing; transparent when it draws nothing.
QColor ink(QWidget& widget) {
    const QImage image = testing::drawn(widget.size(), [&](QPainter& painter) {
        widget.render(&painter, QPoint(), QRegion(), QWidget::DrawChildren);
    });
    QColor strongest(Qt::transparent);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor colour = image.pixelColor(x, y);
            if (colour.alpha() > strongest.alpha()) strongest = colour;
        }
    return strongest;
}

class PopoverPaletteTest : public testing::PopoverFixture {
  protected:
    void TearDown() override { QApplication::setPalette(original_); }

    QPalette original_ = QApplication::palette();
};

TEST_F(PopoverPaletteTest, EveryTextSymbolAndControlFollowsASwitchFromLightToDark) {
    QApplication::setPalette(paletteWith(QColor(236, 236, 236), Qt::black));
    open({SimDisplayConfig::boostPanel(), SimDisplayConfig::gammaOnlyMonitor("LG")}, {50});
    popover->grab();
    auto& about = part<AboutView>("about");
    about.grab();

    const QColor text(Qt::white);
    QApplication::setPalette(paletteWith(QColor(30, 30, 32), text));
    QCoreApplication::processEvents();

    std::vector<QWidget*> marked{&part("aboutButton"), &part("quitButton"), &about.closeButton(),
                                 &about.websiteRow(), &about.contactRow()};
    for (PresetPill* pill : popover->findChildren<PresetPill*>())
        if (!pill->isActive()) marked.push_back(pill);
    for (DisplayCardView* card : popover->cards()) {
        marked.push_back(&card->minusButton());
        marked.push_back(&card->plusButton());
        marked.push_back(card->findChild<CardTitleRow*>());
    }
    for (QWidget* widget : marked)
        EXPECT_LE(testing::colourDistance(ink(*widget), text), 60)
            << widget->metaObject()->className() << " " << widget->objectName().toStdString();

    // Labels: the header's title and subtitle, the settings titles, the About texts, of which
    // two are secondary: the text colour, faded.
    int labels = 0;
    int secondaryAboutLabels = 0;
    for (QLabel* label : popover->findChildren<QLabel*>()) {
        const QColor colour = label->palette().color(QPalette::WindowText);
        EXPECT_EQ(colour.rgb(), text.rgb()) << label->text().toStdString();
        ++labels;
        secondaryAboutLabels += about.isAncestorOf(label) && colour.alpha() < 255;
    }
    EXPECT_GE(labels, 10);
    EXPECT_EQ(secondaryAboutLabels, 2);

    // The panel behind them: the dark window colour, drawn afresh.
    const QImage shown = popover->grab().toImage();
    const QImage expected = testing::paintedPanel(shown.size());
    const QPoint padding(4, shown.height() / 2);
    EXPECT_LE(testing::colourDistance(shown.pixelColor(padding), expected.pixelColor(padding)), 6);
    EXPECT_LT(shown.pixelColor(padding).lightness(), 80);
}

}  // namespace
}  // namespace corvane::ui
