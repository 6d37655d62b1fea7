#pragma once

#include <QPixmap>
#include <QWidget>
#include <functional>
#include <map>
#include <vector>

#include "model/AppModel.h"
#include "ui/PopoverContent.h"

class QLabel;
class QVBoxLayout;

namespace corvane::ui {

class AboutView;
class CardScrollArea;
class DisplayCardView;
class PopoverHeader;
class PresetPill;
class SettingsRow;
class SunLogo;

// The popover's content: the header that cycles presets, the preset pills, the sync switch, a
// card per display, the warning line, the settings switches and the About and Quit buttons,
// on the rounded panel; or the About panel while the model shows it. It holds no state of its
// own: it follows the model on every notification, updating its widgets in place, and sends
// every control straight to the model. 340 points wide; its height follows the content up to
// the height limit, beyond which the cards scroll while everything else stays in view.
// Main thread only; the model outlives the view.
class MenuPopoverView : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kWidth = 340;
    static constexpr int kPadding = 14;

    // `quit` ends the application; the view calls it after tearing the model down.
    MenuPopoverView(AppModel& model, std::function<void()> quit, QWidget* parent = nullptr);
    ~MenuPopoverView() override;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

    // The tallest the popover may be (the room the screen leaves it); 0 for no limit.
    void setHeightLimit(int height);
    int heightLimit() const { return heightLimit_; }

    // What the main content shows now, and the cards in the order shown.
    const PopoverContent& content() const { return content_; }
    std::vector<DisplayCardView*> cards() const { return shownCards_; }

  signals:
    // The height the content needs changed (a row or card came or went, a line wrapped).
    void contentHeightChanged(int height);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* buildMainContent();
    QWidget* buildPresetRow();
    QWidget* buildCardList();
    QWidget* buildFooter();
    SettingsRow* addSettingsRow(QVBoxLayout& column, std::string_view symbol,
                                std::string_view titleKey, const char* name,
                                std::function<void()> flip);

    void follow();
    void showContent();
    void showCards();
    void showSettings();
    void placeLogo();
    void orderFocus();
    void fitCards();
    void reportHeight();
    const QPixmap& panel();

    AppModel& model_;
    std::function<void()> quit_;
    int observer_ = 0;
    PopoverContent content_;
    int reportedHeight_ = -1;
    int heightLimit_ = 0;
    // The panel drawn once per size: a slider move repaints parts of it many times a second.
    QPixmap panel_;
    bool panelTranslucent_ = false;

    QWidget* mainContent_ = nullptr;
    AboutView* about_ = nullptr;
    PopoverHeader* header_ = nullptr;
    SunLogo* logo_ = nullptr;
    QWidget* presetRow_ = nullptr;
    std::vector<PresetPill*> pills_;
    SettingsRow* syncRow_ = nullptr;
    QLabel* emptyState_ = nullptr;
    CardScrollArea* cardScroll_ = nullptr;
    QWidget* cardList_ = nullptr;
    QVBoxLayout* cardLayout_ = nullptr;
    std::map<DisplayID, DisplayCardView*> cardsById_;
    std::vector<DisplayCardView*> shownCards_;
    QLabel* warning_ = nullptr;
    QWidget* footer_ = nullptr;
    SettingsRow* menuPercentRow_ = nullptr;
    SettingsRow* menuNitsRow_ = nullptr;
    SettingsRow* batteryRow_ = nullptr;
    SettingsRow* launchRow_ = nullptr;
    QWidget* aboutButton_ = nullptr;
    QWidget* quitButton_ = nullptr;
};

}  // namespace corvane::ui
