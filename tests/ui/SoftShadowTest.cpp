#include "ui/SoftShadow.h"

#include <gtest/gtest.h>

#include "ui/PopoverTestSupport.h"

namespace corvane::ui {
namespace {

QImage painted(double ratio, const std::function<void(QPainter&)>& paint) {
    return testing::drawn(QSize(320, 40), paint, ratio);
}

int largestDifference(const QImage& a, const QImage& b) {
    int largest = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            for (int d : {qRed(p) - qRed(q), qGreen(p) - qGreen(q), qBlue(p) - qBlue(q),
                          qAlpha(p) - qAlpha(q)})
                largest = std::max(largest, std::abs(d));
        }
    return largest;
}

QPainterPath capsulePath(const QRectF& rect) {
    QPainterPath path;
    path.addRoundedRect(rect, rect.height() / 2, rect.height() / 2);
    return path;
}

TEST(SoftShadowTest, StretchedCapsuleMatchesTheBlurOfTheWholeCapsule) {
    const QColor amber(255, 170, 40, 90);
    for (double ratio : {1.0, 1.5, 2.0})
        for (double width : {10.0, 40.0, 61.3, 137.77, 250.5}) {
            const QRectF capsule(12.25, 16, width, 8);
            const QImage whole = painted(ratio, [&](QPainter& painter) {
                paintSoftShadow(painter, capsulePath(capsule), amber, 6);
            });
            const QImage stretched = painted(ratio, [&](QPainter& painter) {
                paintSoftCapsuleShadow(painter, capsule, amber, 6);
            });
            EXPECT_GT(whole.pixelColor(QPoint(capsule.center().x(), 20) * ratio).alpha(), 40);
            EXPECT_LE(largestDifference(whole, stretched), 2) << ratio << " " << width;
        }
}

TEST(SoftShadowTest, KeptShadowsFollowTheirShapePositionAndColour) {
    QPainterPath knob;
    knob.addEllipse(QRectF(20, 12, 16, 16));
    const QColor black(0, 0, 0, 60);
    const QImage first = painted(2, [&](QPainter& p) { paintSoftShadow(p, knob, black, 2); });
    // The same shadow a whole pixel to the right: the same pixels, moved.
    const QImage moved =
        painted(2, [&](QPainter& p) { paintSoftShadow(p, knob.translated(1, 0), black, 2); });
    EXPECT_EQ(first.copy(0, 0, 600, 80), moved.copy(2, 0, 600, 80));
    // Another colour or a larger blur is not taken for the first one.
    const QImage red =
        painted(2, [&](QPainter& p) { paintSoftShadow(p, knob, QColor(255, 0, 0, 60), 2); });
    const QImage wider = painted(2, [&](QPainter& p) { paintSoftShadow(p, knob, black, 6); });
    EXPECT_GT(qRed(red.pixel(56, 40)), 0);
    EXPECT_EQ(qRed(first.pixel(56, 40)), 0);
    EXPECT_GT(wider.pixelColor(28, 40).alpha(), first.pixelColor(28, 40).alpha());
}

}  // namespace
}  // namespace corvane::ui
