#include <QPointer>

#include "ui/CardTitleRow.h"
#include "ui/GlowSlider.h"
#include "ui/Localization.h"
#include "ui/PopoverTestSupport.h"
#include "ui/StepButton.h"

namespace corvane::ui {
namespace {

using sim::SimDisplayConfig;
using testing::click;
using testing::sendMouse;

class DisplayCardViewTest : public testing::PopoverFixture {
  protected:
    // A point on `card`'s slider at `fraction` of its track (beyond it outside 0 to 1), in the
    // slider's coordinates.
    static QPointF along(DisplayCardView& card, double fraction) {
        const QRectF track = card.slider().trackRect();
        return {track.left() + track.width() * fraction, track.center().y()};
    }
};

TEST_F(DisplayCardViewTest, DragAppliesAndPublishesEachMoveAndShowsTheIndicatorOnRelease) {
    open({SimDisplayConfig::builtinPanel("Panel", 0.5), SimDisplayConfig::gammaOnlyMonitor("LG")});
    const DisplayID monitor = 2;
    countPublications();
    DisplayCardView& card = this->card(monitor);
    GlowSlider& slider = card.slider();
    ASSERT_GT(slider.trackRect().width(), 100);

    // Pointers beyond the track are held on the scale by sliderValue (DisplayCardActionsTest).
    sendMouse(slider, QEvent::MouseButtonPress, along(card, 0.25));
    EXPECT_DOUBLE_EQ(percent(monitor), 25);
    EXPECT_EQ(publications(), 1);
    sendMouse(slider, QEvent::MouseMove, along(card, 0.6));
    EXPECT_NEAR(percent(monitor), 60, 1e-9);
    EXPECT_EQ(publications(), 2);
    EXPECT_EQ(indicatorShows(), 0);
    // Updated in place: the same card, showing the level it just published.
    EXPECT_EQ(&this->card(monitor), &card);
    EXPECT_NEAR(slider.value(), 60, 1e-9);
    EXPECT_EQ(card.findChild<CardTitleRow*>()->texts().percent, localizedInteger("%lld%", 60));

    sendMouse(slider, QEvent::MouseButtonRelease, along(card, 0.6));
    EXPECT_EQ(publications(), 3);
    ASSERT_EQ(indicatorShows(), 1);
    EXPECT_EQ(indicator()->contents.back().percent, 60);

    // A press outside the capsule, in the glow's margin, is not a drag.
    sendMouse(slider, QEvent::MouseButtonPress, QPointF(1, 1));
    sendMouse(slider, QEvent::MouseButtonRelease, QPointF(1, 1));
    EXPECT_EQ(publications(), 3);
}

TEST_F(DisplayCardViewTest, StepButtonsMoveFromTheLiveLevelAndShowTheIndicator) {
    open({SimDisplayConfig::gammaOnlyMonitor("LG")}, {3});
    const DisplayID monitor = 1;
    click(card(monitor).minusButton());
    EXPECT_DOUBLE_EQ(percent(monitor), 0);
    click(card(monitor).plusButton());
    EXPECT_DOUBLE_EQ(percent(monitor), 6.25);
    EXPECT_EQ(indicatorShows(), 2);
}

TEST_F(DisplayCardViewTest, XDRCardShowsNitsAndTheStandardRangeTick) {
    open({SimDisplayConfig::boostPanel("XDR"), SimDisplayConfig::gammaOnlyMonitor("LG")}, {38.25});
    const auto& texts = card(1).findChild<CardTitleRow*>()->texts();
    EXPECT_EQ(texts.status, localizedInteger("status.xdr %lld", 612));
    EXPECT_EQ(texts.nits, localizedInteger("%lld", 612));
    EXPECT_EQ(card(1).slider().marker(), 37.5);

    const auto& plain = card(2).findChild<CardTitleRow*>()->texts();
    EXPECT_EQ(plain.status, localized("method.software"));
    EXPECT_TRUE(plain.nits.isEmpty());
    EXPECT_EQ(card(2).slider().marker(), std::nullopt);
}

TEST_F(DisplayCardViewTest, ACardWhoseDisplayLeavesMidDragGoesQuietlyAndTheOthersStay) {
    open({SimDisplayConfig::builtinPanel("Panel", 0.5), SimDisplayConfig::gammaOnlyMonitor("LG")});
    const DisplayID monitor = 2;
    model->setSyncDisplays(true);
    QPointer<DisplayCardView> card = &this->card(monitor);
    QPointer<GlowSlider> slider = &card->slider();
    // Through sync the press moves the panel to 30, where it is checked to stay below.
    sendMouse(*slider, QEvent::MouseButtonPress, along(*card, 0.3));

    desktop.unplug(monitor);
    model->refresh();
    ASSERT_EQ(popover->cards().size(), 1u);
    EXPECT_TRUE(card->isRetired());
    EXPECT_FALSE(card->isVisibleTo(popover.get()));
    countPublications();

    // Events still on their way to the old card change nothing, not even through sync.
    sendMouse(*slider, QEvent::MouseMove, along(*card, 0.9));
    sendMouse(*slider, QEvent::MouseButtonRelease, along(*card, 0.9));
    EXPECT_NEAR(percent(1), 30, 1e-9);
    EXPECT_FALSE(model->intendedPercents().contains(monitor));
    EXPECT_EQ(publications(), 0);
    EXPECT_EQ(indicatorShows(), 0);

    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(card.isNull());
    EXPECT_EQ(popover->cards().front()->displayId(), 1u);

    // The monitor comes back: a new card, live again.
    desktop.plug(monitor);
    model->refresh();
    ASSERT_EQ(popover->cards().size(), 2u);
    click(this->card(monitor).plusButton());
    EXPECT_EQ(publications(), 2);
}

TEST_F(DisplayCardViewTest, BackgroundIsDrawnForEachSize) {
    open({SimDisplayConfig::gammaOnlyMonitor("LG")});
    DisplayCardView& card = this->card(1);
    for (QSize size : {QSize(200, 90), QSize(260, 130), QSize(200, 90)}) {
        card.resize(size);
        const QImage shown = testing::drawn(
            size, [&](QPainter& painter) { card.render(&painter, QPoint(), QRegion(), {}); });
        const QImage expected = testing::drawn(
            size, [&](QPainter& painter) { theme::paintCard(painter, QRectF(QPointF(), size)); });
        // The rim on every side and the fill in a corner.
        const int w = size.width() - 1, h = size.height() - 1;
        for (QPoint point :
             {QPoint(0, h / 2), QPoint(w, h / 2), QPoint(w / 2, h), QPoint(4, h - 4)}) {
            const QRgb a = shown.pixel(point), b = expected.pixel(point);
            EXPECT_LE(std::abs(qAlpha(a) - qAlpha(b)) + std::abs(qRed(a) - qRed(b)), 2)
                << size.width() << " " << point.x() << "," << point.y();
        }
    }
}

}  // namespace
}  // namespace corvane::ui
