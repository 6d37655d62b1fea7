#include <QLayout>
#include <QScrollBar>

#include "ui/CardScrollArea.h"
#include "ui/GlowSlider.h"
#include "ui/OverlayScrollBar.h"
#include "ui/PopoverTestSupport.h"

namespace corvane::ui {
namespace {

using sim::SimDisplayConfig;

class PopoverScrollTest : public testing::PopoverFixture {
  protected:
    // A boost panel and `count - 1` monitors, the popover open at its own size.
    void openWith(int count) {
        std::vector displays(count, SimDisplayConfig::gammaOnlyMonitor("Monitor"));
        displays.front() = SimDisplayConfig::boostPanel();
        open(displays);
        fit();
    }
    // Lays the popover out at the size it asks for, as its window does.
    // (A window's layout holds it at its old minimum height until the layout next runs.)
    void fit() {
        popover->layout()->activate();
        popover->resize(popover->sizeHint());
        QCoreApplication::processEvents();
    }
    CardScrollArea& list() { return part<CardScrollArea>("cardScroll"); }
    bool barShown() { return list().overlayBar().isVisibleTo(popover.get()); }
    QRect placed(const char* name) { return PopoverFixture::placed(part(name)); }
};

TEST_F(PopoverScrollTest, CardsScrollExactlyWhenTheContentExceedsTheLimitByWheelOrBar) {
    openWith(7);
    const int natural = popover->sizeHint().height();
    EXPECT_FALSE(list().scrolls());

    // Exactly enough room: nothing scrolls.
    popover->setHeightLimit(natural);
    fit();
    EXPECT_EQ(popover->sizeHint().height(), natural);
    EXPECT_FALSE(list().scrolls());
    EXPECT_FALSE(barShown());

    // One point less: the popover keeps to the limit and the cards scroll by that point.
    popover->setHeightLimit(natural - 1);
    fit();
    EXPECT_EQ(popover->sizeHint().height(), natural - 1);
    EXPECT_TRUE(list().scrolls());
    EXPECT_EQ(list().verticalScrollBar()->maximum(), 1);
    EXPECT_TRUE(barShown());

    // A 720-point screen: header, presets and footer stay in view, only the cards scroll.
    popover->setHeightLimit(700);
    fit();
    EXPECT_EQ(popover->height(), 700);
    EXPECT_TRUE(list().scrolls());
    for (const char* kept : {"header", "presetRow", "syncRow", "aboutButton", "quitButton"})
        EXPECT_TRUE(popover->rect().contains(placed(kept))) << kept;
    EXPECT_GE(placed("cardScroll").top(), placed("syncRow").bottom());
    EXPECT_LE(placed("cardScroll").bottom(), placed("footer").top());

    // The wheel scrolls the list, from anywhere between the cards.
    testing::turnWheel(*list().viewport(), -120);
    EXPECT_GT(list().verticalScrollBar()->value(), 0);
    EXPECT_GT(list().overlayBar().thumbRect().top(), 0);

    // The gripped thumb follows the pointer; dragged past its end it scrolls to the end.
    OverlayScrollBar& bar = list().overlayBar();
    const QRectF thumb = bar.thumbRect();
    ASSERT_LT(thumb.height(), bar.height());
    testing::sendMouse(bar, QEvent::MouseButtonPress, thumb.center());
    testing::sendMouse(bar, QEvent::MouseMove, thumb.center() + QPointF(0, 10));
    EXPECT_NEAR(bar.thumbRect().top(), thumb.top() + 10, 1);
    testing::sendMouse(bar, QEvent::MouseMove, QPointF(thumb.center().x(), bar.height() + 50));
    testing::sendMouse(bar, QEvent::MouseButtonRelease, QPointF(2, bar.height() + 50));
    EXPECT_EQ(list().verticalScrollBar()->value(), list().verticalScrollBar()->maximum());
    EXPECT_DOUBLE_EQ(bar.thumbRect().bottom(), bar.height());

    // Room again: the whole list shows, with no bar.
    popover->setHeightLimit(0);
    fit();
    EXPECT_EQ(popover->sizeHint().height(), natural);
    EXPECT_FALSE(list().scrolls());
    EXPECT_FALSE(barShown());
}

TEST_F(PopoverScrollTest, TheWheelOverASliderScrollsTheListUnlessTheSliderHasTheFocus) {
    openWith(7);
    popover->setHeightLimit(600);
    fit();
    GlowSlider& slider = card(2).slider();
    const double level = percent(2);
    // A turn the slider leaves goes on to the list (the window system's events travel up to
    // the parents that way).
    EXPECT_FALSE(testing::turnWheel(slider, -120));
    EXPECT_DOUBLE_EQ(percent(2), level);

    QApplication::setActiveWindow(popover.get());
    slider.setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(testing::turnWheel(slider, -120));
    EXPECT_DOUBLE_EQ(percent(2), level - 6.25);

    // A list short enough not to scroll leaves the wheel to the slider, focused or not.
    popover->setHeightLimit(0);
    fit();
    slider.clearFocus();
    EXPECT_TRUE(testing::turnWheel(slider, -120));
    EXPECT_DOUBLE_EQ(percent(2), level - 12.5);
}

TEST_F(PopoverScrollTest, ALimitAppliesToCardsThatArriveLater) {
    openWith(1);
    popover->setHeightLimit(popover->sizeHint().height() + 60);
    fit();
    for (int i = 0; i < 4; ++i) desktop.add(SimDisplayConfig::gammaOnlyMonitor("Late"));
    model->refresh();
    fit();
    EXPECT_EQ(popover->sizeHint().height(), popover->heightLimit());
    EXPECT_TRUE(list().scrolls());
}

}  // namespace
}  // namespace corvane::ui
