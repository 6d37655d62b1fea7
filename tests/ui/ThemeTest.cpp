#include "ui/Theme.h"

#include <gtest/gtest.h>

#include <QFontMetricsF>

#include "ui/Fonts.h"
#include "ui/PopoverTestSupport.h"

namespace corvane::ui {
namespace {

QImage panelImage(bool translucent) {
    return testing::drawn(QSize(200, 120), [&](QPainter& painter) {
        theme::paintPanel(painter, QRectF(0, 0, 200, 120), translucent);
    });
}

TEST(ThemeTest, TranslucentPanelLeavesItsCornersClearAndAnOpaqueOneFillsEveryPixel) {
    const QImage image = panelImage(true);
    for (QPoint corner : {QPoint(0, 0), QPoint(199, 0), QPoint(0, 119), QPoint(199, 119),
                          QPoint(3, 3), QPoint(196, 116)}) {
        EXPECT_EQ(image.pixelColor(corner).alpha(), 0) << corner.x() << "," << corner.y();
    }
    const int middle = image.pixelColor(100, 60).alpha();
    EXPECT_GT(middle, 200);
    EXPECT_LT(middle, 255);
    // The border fades from the top edge to the bottom edge.
    EXPECT_GT(image.pixelColor(100, 0).lightness(), image.pixelColor(100, 119).lightness());

    const QImage opaque = panelImage(false);
    for (QPoint point : {QPoint(0, 0), QPoint(199, 119), QPoint(2, 117), QPoint(100, 60)})
        EXPECT_EQ(opaque.pixelColor(point).alpha(), 255) << point.x() << "," << point.y();
}

TEST(ThemeTest, ContinuousCornersStayInsideTheRectAndEaseIntoTheEdges) {
    const QRectF rect(10, 20, 200, 100);
    const QPainterPath shape = theme::continuousRoundedRect(rect, 20);
    EXPECT_EQ(shape.boundingRect(), rect);
    EXPECT_TRUE(shape.contains(rect.center()));
    EXPECT_FALSE(shape.contains(rect.topLeft() + QPointF(4, 4)));
    // Where a circular corner of radius 20 has already met the edge, this one is still curving.
    EXPECT_FALSE(shape.contains(QPointF(rect.left() + 0.25, rect.top() + 19)));
    EXPECT_TRUE(shape.contains(QPointF(rect.left() + 0.25, rect.top() + 26)));

    // Too short for such corners: a capsule.
    const QRectF pill(0, 0, 60, 10);
    const QPainterPath capsule = theme::continuousRoundedRect(pill, 5);
    EXPECT_EQ(capsule.boundingRect(), pill);
    EXPECT_TRUE(capsule.contains(QPointF(30, 5)));
    EXPECT_FALSE(capsule.contains(QPointF(0.5, 0.5)));
}

TEST(ThemeTest, FontsHaveTheRequestedPixelSizeAndLevelDigitsKeepTheirWidth) {
    const QFont title = fonts::rounded(16, QFont::DemiBold);
    EXPECT_EQ(title.pixelSize(), 16);
    EXPECT_EQ(title.weight(), QFont::DemiBold);
    EXPECT_EQ(fonts::system(11).pixelSize(), 11);

    const QFontMetricsF digits(fonts::roundedMonospacedDigits(34, QFont::Bold));
    EXPECT_EQ(digits.horizontalAdvance(QStringLiteral("11")),
              digits.horizontalAdvance(QStringLiteral("88")));
}

}  // namespace
}  // namespace corvane::ui
