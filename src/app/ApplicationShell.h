#pragma once

#include <QObject>
#include <memory>

#include "app/MenuBarItem.h"
#include "app/PopoverWindow.h"

namespace corvane {
class AppModel;
}

namespace corvane::ui {
class MenuPopoverView;
}

namespace corvane::app {

// The application's surfaces around the model: the tray item and the popover it opens. On a
// desktop without a tray there is no item; the popover then opens as a small window at start,
// and closing it leaves the application running (the brightness keys still work) until Quit;
// a second launch brings it back. A tray that appears later takes over from the window.
class ApplicationShell : public QObject {
    Q_OBJECT
  public:
    ApplicationShell(AppModel& model, bool trayAvailable, bool composited);
    ~ApplicationShell() override;

    // Puts the tray item on screen, or opens the popover window when there is no tray.
    void show();
    void togglePopover();
    // Opens the popover (beside the tray item, or as the window) and brings it to the front.
    void showPopover();
    void closePopover();
    // A tray has appeared: the item goes into it and the window becomes its popover.
    void adoptTray();

    PopoverWindow& popover() { return *popover_; }
    ui::MenuPopoverView& popoverView() { return *view_; }
    // None without a tray.
    MenuBarItem* menuBarItem() { return item_.get(); }

  private:
    void makeItem();
    void showWindow();

    AppModel& model_;
    ui::MenuPopoverView* view_;
    std::unique_ptr<PopoverWindow> popover_;
    std::unique_ptr<MenuBarItem> item_;
};

}  // namespace corvane::app
