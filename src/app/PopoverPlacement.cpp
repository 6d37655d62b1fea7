#include "app/PopoverPlacement.h"

#include <algorithm>

namespace corvane::app {
namespace {

// Distance between the tray item and the panel.
constexpr int kGapToAnchor = 6;

int clampInto(int start, int length, int low, int high) {
    // A panel larger than the area keeps its top or left edge inside.
    return std::max(low, std::min(start, high - length));
}

}  // namespace

QPoint popoverPosition(QSize panel, const QRect& anchor, const QRect& available, int margin) {
    QRect inner = available.adjusted(margin, margin, -margin, -margin);
    int x = anchor.center().x() - panel.width() / 2;
    bool anchorInUpperHalf = anchor.center().y() < available.center().y();
    int y = anchorInUpperHalf ? anchor.bottom() + 1 + kGapToAnchor
                              : anchor.top() - kGapToAnchor - panel.height();
    return QPoint(clampInto(x, panel.width(), inner.left(), inner.right() + 1),
                  clampInto(y, panel.height(), inner.top(), inner.bottom() + 1));
}

}  // namespace corvane::app
