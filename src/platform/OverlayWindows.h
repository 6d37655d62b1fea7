#pragma once

#include <memory>

#include "platform/Geometry.h"
#include "platform/ScreenCatalog.h"

namespace corvane {

// Pixel dimensions of a drawing surface.
struct PixelSize {
    double width = 0;
    double height = 0;
    friend bool operator==(const PixelSize&, const PixelSize&) = default;
};

// A borderless, click-through window covering one screen, above everything, whose only
// content is an extended-range surface composited with a multiply filter: everything beneath
// is multiplied, in linear light, by the grey level the surface is cleared to.
class OverlayWindow {
public:
    virtual ~OverlayWindow() = default;

    virtual Rect frame() const = 0;
    // Moves the window and fits its surface to (0, 0, width, height).
    virtual void setFrame(const Rect& frame) = 0;
    virtual PixelSize drawableSize() const = 0;
    virtual void setDrawableSize(const PixelSize& size) = 0;
    virtual void setAlpha(double alpha) = 0;
    // Clears the surface to (factor, factor, factor, 1) and presents it. False when the frame
    // was skipped (no drawable, command buffer or encoder).
    virtual bool present(double factor) = 0;
    // Takes the window off the screen for good.
    virtual void orderOut() = 0;
};

// Makes overlay windows. The GPU device and its command queue are the host's.
class OverlayWindows {
public:
    virtual ~OverlayWindows() = default;

    // Whether the system has a GPU device to draw extended-range surfaces with.
    virtual bool hasDevice() const = 0;
    // Makes a command queue on the device; false when it cannot.
    virtual bool makeCommandQueue() = 0;
    // Builds the window over `screen`'s frame with its surface at `contentsScale` and
    // `drawableSize`, ordered front with alpha 0.
    virtual std::unique_ptr<OverlayWindow> build(const Screen& screen, double contentsScale,
                                                 const PixelSize& drawableSize) = 0;
};

}  // namespace corvane
