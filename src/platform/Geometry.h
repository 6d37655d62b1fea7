#pragma once

namespace corvane {

// Desktop coordinates in points. The origin is the bottom-left corner of the main screen and
// y grows upwards, so "above the bottom" is a larger y.
struct Point {
    double x = 0;
    double y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    double width = 0;
    double height = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

struct Rect {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;

    double minX() const { return x; }
    double minY() const { return y; }
    double midX() const { return x + width / 2; }
    double maxX() const { return x + width; }
    double maxY() const { return y + height; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

}  // namespace corvane
