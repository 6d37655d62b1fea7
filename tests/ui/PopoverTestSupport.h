#pragma once

#include <QAbstractButton>
#include <QCoreApplication>
#include <QMouseEvent>
#include <QWidget>

#include "support/ModelFixture.h"
#include "ui/DisplayCardView.h"
#include "ui/MenuPopoverView.h"

namespace corvane::ui::testing {

// Sends one left-button mouse event to `widget` at `pos`, as the window system would route it.
inline void sendMouse(QWidget& widget, QEvent::Type type, QPointF pos) {
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(Qt::LeftButton);
    QMouseEvent event(type, pos, widget.mapToGlobal(pos), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &event);
}

inline void click(QWidget& widget) {
    const QPointF centre = QRectF(widget.rect()).center();
    sendMouse(widget, QEvent::MouseButtonPress, centre);
    sendMouse(widget, QEvent::MouseButtonRelease, centre);
}

// A popover on a simulated desktop, laid out at its own size.
class PopoverFixture : public corvane::testing::ModelFixture {
  protected:
    MenuPopoverView& makePopover() {
        popover = std::make_unique<MenuPopoverView>(*model, [this] { ++quits; });
        popover->resize(popover->sizeHint());
        popover->show();
        QCoreApplication::processEvents();
        return *popover;
    }

    template <typename T = QWidget>
    T& part(const char* name) {
        auto* found = popover->findChild<T*>(name);
        if (!found) throw std::runtime_error(std::string("no popover part ") + name);
        return *found;
    }
    bool shows(const char* name) { return part(name).isVisibleTo(popover.get()); }

    DisplayCardView& card(DisplayID id) {
        for (DisplayCardView* card : popover->cards())
            if (card->displayId() == id) return *card;
        throw std::runtime_error("no card for display " + std::to_string(id));
    }

    int publications() const { return publications_; }
    void countPublications() {
        model->addObserver(
            [this](ModelField field) { publications_ += field == ModelField::displays; });
    }

    std::unique_ptr<MenuPopoverView> popover;
    int quits = 0;

  private:
    int publications_ = 0;
};

}  // namespace corvane::ui::testing
