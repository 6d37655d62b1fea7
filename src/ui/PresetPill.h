#pragma once

#include "ui/PlainButton.h"

#include "ui/PopoverContent.h"

namespace corvane::ui {

// One quick-preset button: a capsule that fills with the sun gradient while the focused
// display sits at the preset, and fades out while the preset cannot be used.
class PresetPill : public PlainButton {
    Q_OBJECT
  public:
    static constexpr double kUnavailableOpacity = 0.38;

    explicit PresetPill(BrightnessPreset preset, QWidget* parent = nullptr);

    BrightnessPreset preset() const { return preset_; }
    bool isActive() const { return active_; }
    void setState(const PresetPillState& state);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    BrightnessPreset preset_;
    bool active_ = false;
};

}  // namespace corvane::ui
