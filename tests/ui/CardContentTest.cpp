#include <gtest/gtest.h>

#include "ui/CardContent.h"
#include "ui/SliderGeometry.h"

namespace corvane::ui {
namespace {

namespace geometry = slider_geometry;

DisplaySnapshot snapshot(bool xdr, ControlPath path, double percent) {
    DisplaySnapshot facts;
    facts.supportsXDR = xdr;
    facts.path = path;
    facts.percent = percent;
    facts.sdrNits = xdr ? 600 : 400;
    facts.peakNits = xdr ? 1600 : 400;
    return makeSnapshot(facts);
}

DisplaySnapshot plainDisplay(ControlPath path, double percent = 50) {
    return snapshot(false, path, percent);
}

TEST(CardText, StatusShowsLiveNitsOfXDRDisplaysElseTheControlPath) {
    DisplaySnapshot xdr = snapshot(true, ControlPath::hardware, 38.25);
    ASSERT_EQ(xdr.estimatedNits, 612);
    EXPECT_EQ(cardStatusLine(xdr), (TextKey{"status.xdr %lld", 612}));
    EXPECT_EQ(cardNitsLine(xdr), (TextKey{"%lld", 612}));

    xdr.estimatedNits.reset();
    EXPECT_EQ(cardStatusLine(xdr), (TextKey{"method.hardware", std::nullopt}));
    EXPECT_EQ(cardNitsLine(xdr), std::nullopt);

    const std::pair<ControlPath, std::string_view> paths[] = {
        {ControlPath::hardware, "method.hardware"},
        {ControlPath::ddc, "method.ddc"},
        {ControlPath::software, "method.software"},
        {ControlPath::unavailable, "method.unavailable"},
    };
    for (const auto& [path, key] : paths) {
        EXPECT_EQ(cardStatusLine(plainDisplay(path)), (TextKey{key, std::nullopt})) << key;
        EXPECT_EQ(cardNitsLine(plainDisplay(path)), std::nullopt);
    }
}

TEST(CardText, PercentRoundsHalvesAwayFromZero) {
    EXPECT_EQ(cardPercentText(plainDisplay(ControlPath::ddc, 49.5)), (TextKey{"%lld%", 50}));
    EXPECT_EQ(cardPercentText(plainDisplay(ControlPath::ddc, 49.4)), (TextKey{"%lld%", 49}));
    EXPECT_EQ(cardPercentText(plainDisplay(ControlPath::ddc, 0.5)), (TextKey{"%lld%", 1}));
}

TEST(CardText, SliderMarkerOnlyOnXDRDisplays) {
    DisplaySnapshot xdr = snapshot(true, ControlPath::hardware, 50);
    EXPECT_EQ(cardSliderMarker(xdr), 37.5);
    EXPECT_EQ(cardSliderMarker(plainDisplay(ControlPath::hardware)), std::nullopt);
}

TEST(SliderGeometry, FillKeepsAStubAndStopsAtTheTrackEnd) {
    const double width = 200;
    EXPECT_DOUBLE_EQ(geometry::fillWidth(0, width), 10);
    EXPECT_DOUBLE_EQ(geometry::fillWidth(-5, width), 10);
    EXPECT_DOUBLE_EQ(geometry::fillWidth(3, width), 10);
    EXPECT_DOUBLE_EQ(geometry::fillWidth(25, width), 50);
    EXPECT_DOUBLE_EQ(geometry::fillWidth(100, width), width);
    EXPECT_DOUBLE_EQ(geometry::fillWidth(140, width), width);
}

TEST(SliderGeometry, KnobCentresOnTheLevelWithoutLeavingTheTrack) {
    const double width = 200;
    EXPECT_DOUBLE_EQ(geometry::knobOffset(0, width), 0);
    EXPECT_DOUBLE_EQ(geometry::knobOffset(2, width), 0);
    EXPECT_DOUBLE_EQ(geometry::knobOffset(50, width), 92);
    EXPECT_DOUBLE_EQ(geometry::knobOffset(100, width), width - 16);
    EXPECT_DOUBLE_EQ(geometry::knobOffset(150, width), width - 16);
}

TEST(SliderGeometry, TickOnlyStrictlyInsideFourToNinetySix) {
    const double width = 200;
    EXPECT_EQ(geometry::tickCentre(50, width), 100);
    EXPECT_EQ(geometry::tickCentre(37.5, width), 75);
    for (std::optional<double> hidden : {std::optional<double>(4), std::optional<double>(96),
                                         std::optional<double>(97), std::optional<double>()})
        EXPECT_EQ(geometry::tickCentre(hidden, width), std::nullopt);
    EXPECT_TRUE(geometry::tickCentre(4.5, width).has_value());
}

}  // namespace
}  // namespace corvane::ui
