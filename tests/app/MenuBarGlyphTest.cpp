#include <gtest/gtest.h>

#include <QColor>
#include <algorithm>

#include "app/GlyphIcon.h"
#include "app/GlyphIconEngine.h"
#include "app/MenuBarGlyph.h"
#include "app/MenuBarItem.h"
#include "support/ModelFixture.h"

namespace corvane::app {
namespace {

GlyphInputs inputs(std::optional<int> nits, bool showPercent, bool showNits) {
    return GlyphInputs{75, nits, false, showPercent, showNits};
}

TEST(MenuBarGlyph, ReadoutPrefersKnownNitsThenPercentThenNothing) {
    EXPECT_EQ(glyphContent(inputs(600, true, true)), (GlyphContent{kOutlineSun, 600}));
    EXPECT_EQ(glyphContent(inputs(600, true, false)), (GlyphContent{kOutlineSun, 75}));
    EXPECT_EQ(glyphContent(inputs(std::nullopt, true, true)), (GlyphContent{kOutlineSun, 75}));
    EXPECT_EQ(glyphContent(inputs(std::nullopt, false, true)).readout, std::nullopt);
    // Both readouts off, and the sun filled while boosting, are MenuBarItemTest's.
}

// The readout's white ink from row `top` down: how many pixels, and how wide it spans.
struct WhiteInk {
    int pixels = 0;
    int width = 0;
};

WhiteInk whiteInk(const QImage& image, int top = 0) {
    int pixels = 0, left = image.width(), right = -1;
    for (int y = top; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y).lightness() > 240 && image.pixelColor(x, y).alpha() > 240) {
                ++pixels;
                left = std::min(left, x);
                right = std::max(right, x);
            }
    return {pixels, right - left};
}

TEST(GlyphIcon, DrawsAtTheDeviceSizeWithDigitsOnlyWhenThereIsAReadout) {
    QImage bare = paintGlyph({kOutlineSun, std::nullopt}, 22, 2);
    EXPECT_EQ(bare.devicePixelRatio(), 2);  // its size is the icon engine test's
    EXPECT_EQ(bare.pixelColor(0, 0).alpha(), 0);
    EXPECT_EQ(whiteInk(bare).pixels, 0);
    // The digits' white ink, and how wide it runs, is checked where they are laid out (below).
}

TEST(GlyphIcon, DrawsOnlyAtTheSizeTheTrayAsksForAndAgainOnlyWhenThatChanges) {
    GlyphIconEngine engine({kOutlineSun, 75});
    EXPECT_EQ(engine.drawCount(), 0);  // nothing is drawn ahead of a request
    EXPECT_TRUE(engine.availableSizes().isEmpty());
    QPixmap first = engine.pixmap(QSize(22, 22), QIcon::Normal, QIcon::Off);
    QPixmap again = engine.pixmap(QSize(22, 22), QIcon::Normal, QIcon::Off);
    EXPECT_EQ(engine.drawCount(), 1);
    EXPECT_EQ(first.size(), QSize(22, 22));
    EXPECT_EQ(again.cacheKey(), first.cacheKey());
    QPixmap sharp = engine.scaledPixmap(QSize(22, 22), QIcon::Normal, QIcon::Off, 2);
    EXPECT_EQ(engine.drawCount(), 2);
    EXPECT_EQ(sharp.size(), QSize(44, 44));
    EXPECT_EQ(sharp.toImage(), paintGlyph({kOutlineSun, 75}, 22, 2));

    // The icon draws the glyph of its content, as paintGlyph does.
    QIcon icon = glyphIcon({kFilledSun, 1600});
    EXPECT_EQ(icon.pixmap(QSize(24, 24), 1.0).toImage(), paintGlyph({kFilledSun, 1600}, 24, 1));
}

TEST(GlyphIcon, DigitsLaidOutFromCachedShapesReadAsTheNumber) {
    // Each value draws differently; the same value draws the same every time.
    QImage seventyFive = paintGlyph({kOutlineSun, 75}, 32, 1);
    EXPECT_EQ(paintGlyph({kOutlineSun, 75}, 32, 1), seventyFive);
    EXPECT_NE(paintGlyph({kOutlineSun, 57}, 32, 1), seventyFive);
    EXPECT_NE(paintGlyph({kOutlineSun, 7}, 32, 1), paintGlyph({kOutlineSun, 1}, 32, 1));
    // One digit fills its capsule less wide than two.
    auto inkWidth = [](const QImage& image) { return whiteInk(image, image.height() / 2).width; };
    EXPECT_LT(inkWidth(paintGlyph({kOutlineSun, 7}, 48, 1)), inkWidth(seventyFive) * 3 / 2);
    EXPECT_GT(inkWidth(paintGlyph({kOutlineSun, 77}, 48, 1)),
              inkWidth(paintGlyph({kOutlineSun, 7}, 48, 1)));
}

class MenuBarItemTest : public corvane::testing::ModelFixture {
  protected:
    void SetUp() override {
        desktop.add(sim::SimDisplayConfig::boostPanel());
        desktop.add(sim::SimDisplayConfig::ddcMonitor("Monitor"));
        startModel();
    }
};

TEST_F(MenuBarItemTest, RedrawsOnlyWhenWhatTheGlyphShowsChanges) {
    MenuBarItem item(*model);
    EXPECT_EQ(item.redrawCount(), 1);
    EXPECT_EQ(item.content().readout, model->menuPercent());

    for (int poll = 0; poll < 20; ++poll) desktop.loop().advance(AppModel::kPollInterval);
    model->publish();
    model->setShowMenuNits(false);  // assigned, unchanged
    EXPECT_EQ(item.redrawCount(), 1);

    model->setShowMenuPercent(false);
    EXPECT_EQ(item.redrawCount(), 2);
    EXPECT_EQ(item.content().readout, std::nullopt);
    model->apply(30, 2);  // another display's level: not shown
    model->apply(20, 1);  // the readout is off and 20 is no boost
    EXPECT_EQ(item.redrawCount(), 2);

    model->applyPreset(BrightnessPreset::peak);
    EXPECT_EQ(item.content().symbol, kFilledSun);
    EXPECT_EQ(item.redrawCount(), 3);
    model->applyPreset(BrightnessPreset::sdr);
    EXPECT_EQ(item.content().symbol, kOutlineSun);
}

}  // namespace
}  // namespace corvane::app
