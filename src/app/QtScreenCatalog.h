#pragma once

#include "platform/ScreenCatalog.h"
#include "platform/linux/DrmDisplayCatalog.h"

class QScreen;

namespace corvane::app {

// The desktop's screens as Qt sees them, each numbered with the display it shows (see
// matchDisplay; a screen of no known display has no number). Frames are in the core's
// coordinates, measured from the primary screen's bottom-left corner with y up. Linux offers
// no extended-range headroom yet: every screen's current and potential headroom is 1. Uses
// the catalog's last reading of the displays. Main thread only.
class QtScreenCatalog final : public ScreenCatalog {
  public:
    explicit QtScreenCatalog(const linux_desktop::DrmDisplayCatalog& displays);

    std::vector<Screen> screens() const override;
    std::optional<Screen> mainScreen() const override;

  private:
    Screen describe(const QScreen& screen) const;

    const linux_desktop::DrmDisplayCatalog& displays_;
};

}  // namespace corvane::app
