#include "app/VirtualScreenMap.h"

#include <algorithm>

namespace corvane::app {
namespace {

Rect boundingBox(const std::vector<Rect>& rects) {
    if (rects.empty()) return {};
    double left = rects.front().minX(), bottom = rects.front().minY();
    double right = rects.front().maxX(), top = rects.front().maxY();
    for (const Rect& rect : rects) {
        left = std::min(left, rect.minX());
        bottom = std::min(bottom, rect.minY());
        right = std::max(right, rect.maxX());
        top = std::max(top, rect.maxY());
    }
    return {left, bottom, right - left, top - bottom};
}

}  // namespace

VirtualScreenMap::VirtualScreenMap(const std::vector<Rect>& virtualScreens, const Rect& area)
    : from_(boundingBox(virtualScreens)), area_(area) {
    if (from_.width > 0 && from_.height > 0)
        scale_ = std::min({area.width / from_.width, area.height / from_.height, 1.0});
    // Centred in the area.
    to_ = {area.midX() - from_.width * scale_ / 2,
           area.y + (area.height - from_.height * scale_) / 2};
}

Point VirtualScreenMap::map(Point point) const {
    return {to_.x + (point.x - from_.x) * scale_, to_.y + (point.y - from_.y) * scale_};
}

Rect VirtualScreenMap::mapRect(const Rect& rect) const {
    const Point origin = map({rect.x, rect.y});
    return {origin.x, origin.y, rect.width * scale_, rect.height * scale_};
}

Rect VirtualScreenMap::mapPanel(const Rect& rect) const {
    const Point bottomCentre = map({rect.midX(), rect.minY()});
    const auto inside = [](double start, double length, double low, double high) {
        return std::max(low, std::min(start, high - length));
    };
    return {inside(bottomCentre.x - rect.width / 2, rect.width, area_.minX(), area_.maxX()),
            inside(bottomCentre.y, rect.height, area_.minY(), area_.maxY()), rect.width,
            rect.height};
}

}  // namespace corvane::app
