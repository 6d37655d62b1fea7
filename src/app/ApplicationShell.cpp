#include "app/ApplicationShell.h"

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

#include "model/AppModel.h"
#include "ui/MenuPopoverView.h"

namespace corvane::app {
namespace {

// The view tears the model down before it calls this.
void quitApplication() {
    QCoreApplication::quit();
}

}  // namespace

ApplicationShell::ApplicationShell(AppModel& model, bool trayAvailable, bool composited)
    : model_(model), view_(new ui::MenuPopoverView(model, quitApplication)) {
    auto style = trayAvailable ? PopoverWindow::Style::popover : PopoverWindow::Style::window;
    popover_ = std::make_unique<PopoverWindow>(view_, style, composited);
    connect(view_, &ui::MenuPopoverView::contentHeightChanged, popover_.get(),
            &PopoverWindow::fitContent);
    connect(popover_.get(), &PopoverWindow::panelHeightLimitChanged, view_,
            &ui::MenuPopoverView::setHeightLimit);
    if (trayAvailable) makeItem();
}

void ApplicationShell::makeItem() {
    item_ = std::make_unique<MenuBarItem>(model_);
    connect(item_.get(), &MenuBarItem::activated, this, &ApplicationShell::togglePopover);
}

ApplicationShell::~ApplicationShell() = default;

void ApplicationShell::show() {
    if (item_) {
        item_->show();
        return;
    }
    showWindow();
}

void ApplicationShell::showWindow() {
    if (popover_->isVisible()) {
        popover_->raise();
        popover_->activateWindow();
        return;
    }
    // No tray to hang from: open near the top right of the screen, where trays usually are.
    QScreen* screen = QGuiApplication::primaryScreen();
    QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1280, 800);
    popover_->showBeside(QRect(area.right() - popover_->width() / 2, area.top(), 1, 1));
}

void ApplicationShell::togglePopover() {
    QRect anchor = item_ ? item_->anchor() : QRect(QCursor::pos(), QSize(1, 1));
    popover_->toggleBeside(anchor);
}

void ApplicationShell::showPopover() {
    if (!item_) {
        showWindow();
        return;
    }
    popover_->showBeside(item_->anchor());
}

void ApplicationShell::closePopover() {
    popover_->hide();
}

void ApplicationShell::adoptTray() {
    if (item_) return;
    popover_->hide();
    popover_->setStyle(PopoverWindow::Style::popover);
    makeItem();
    item_->show();
}

}  // namespace corvane::app
