#pragma once

#include <QWidget>
#include <string>
#include <string_view>

namespace corvane::ui {

class MiniSwitch;

// One settings line: the setting's symbol in a 16-point column, its title, and a mini switch
// at the trailing edge. The switch shows `setOn`'s state; `flipped` reports a click on it.
class SettingsRow : public QWidget {
    Q_OBJECT
  public:
    SettingsRow(std::string_view symbol, std::string_view titleKey, QWidget* parent = nullptr);

    bool isOn() const;
    void setOn(bool on);
    MiniSwitch& toggle() { return *switch_; }

  signals:
    void flipped();

  private:
    MiniSwitch* switch_;
};

}  // namespace corvane::ui
