#include "ui/SymbolIcons.h"

#include <gtest/gtest.h>

#include <QPixmap>
#include <string_view>

#include "ui/PopoverTestSupport.h"

namespace corvane::ui {
namespace {

constexpr std::string_view kSymbols[] = {
    "sun.max", "sun.max.fill", "percent", "battery.75", "power.circle", "rectangle.split.2x1",
    "globe",   "envelope",     "minus",   "plus",
};

// Pixels that are at least half covered.
std::vector<QPoint> ink(const QImage& image) {
    std::vector<QPoint> points;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y).alpha() >= 128) points.emplace_back(x, y);
    return points;
}

TEST(SymbolIconsTest, EverySymbolDrawsInTheRequestedColourAtTheRequestedScaleAndNoOtherDraws) {
    const QColor colour(30, 160, 90);
    for (std::string_view name : kSymbols) {
        ASSERT_TRUE(symbols::exists(name)) << name;
        const QPixmap pixmap = symbols::pixmap(name, QSize(24, 24), colour, 2);
        EXPECT_EQ(pixmap.size(), QSize(48, 48)) << name;
        EXPECT_EQ(pixmap.devicePixelRatio(), 2) << name;
        const QImage image = pixmap.toImage();
        const auto points = ink(image);
        EXPECT_GT(points.size(), 40u) << name;
        for (QPoint point : points) {
            const QColor pixel = image.pixelColor(point);
            ASSERT_NEAR(pixel.red(), colour.red(), 3) << name;
            ASSERT_NEAR(pixel.green(), colour.green(), 3) << name;
            ASSERT_NEAR(pixel.blue(), colour.blue(), 3) << name;
        }
    }
    EXPECT_FALSE(symbols::exists("sun.min"));
    EXPECT_TRUE(ink(symbols::pixmap("sun.min", QSize(24, 24), Qt::black).toImage()).empty());
}

// The brush is in the painter's coordinates, so a gradient across the target square runs
// across the symbol wherever the square is, and nothing is drawn outside the square.
TEST(SymbolIconsTest, GradientBrushIsPlacedInThePaintersCoordinates) {
    const QRectF target(60, 5, 40, 30);
    QLinearGradient gradient(target.left(), 0, target.right(), 0);
    gradient.setColorAt(0, Qt::red);
    gradient.setColorAt(1, Qt::blue);
    const QImage image = testing::drawn(QSize(120, 40), [&](QPainter& painter) {
        symbols::paint(painter, target, "minus", gradient);
    });
    const auto points = ink(image);
    ASSERT_FALSE(points.empty());
    const QRectF square(65, 5, 30, 30);
    QPoint leftmost = points.front(), rightmost = points.front();
    for (QPoint point : points) {
        EXPECT_TRUE(square.adjusted(-1, -1, 1, 1).contains(point)) << point.x() << "," << point.y();
        if (point.x() < leftmost.x()) leftmost = point;
        if (point.x() > rightmost.x()) rightmost = point;
    }
    EXPECT_GT(image.pixelColor(leftmost).red(), image.pixelColor(leftmost).blue());
    EXPECT_GT(image.pixelColor(rightmost).blue(), image.pixelColor(rightmost).red());
}

}  // namespace
}  // namespace corvane::ui
