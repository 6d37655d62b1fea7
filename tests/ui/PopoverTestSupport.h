#pragma once

#include <QApplication>
#include <QImage>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <QWidget>
#include <functional>
#include <vector>

#include "support/ModelFixture.h"
#include "ui/DisplayCardView.h"
#include "ui/MenuPopoverView.h"
#include "ui/MiniSwitch.h"
#include "ui/PresetPill.h"
#include "ui/SettingsRow.h"
#include "ui/Theme.h"

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

// Turns the mouse wheel over the middle of `widget` by `delta` (120 a notch, positive away
// from the user); whether the widget took the turn rather than leaving it to its parents.
inline bool turnWheel(QWidget& widget, int delta) {
    const QPointF centre = QRectF(widget.rect()).center();
    QWheelEvent event(centre, widget.mapToGlobal(centre), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&widget, &event);
    return event.isAccepted();
}

// How far apart two colours are: the sum of their red, green and blue differences.
inline int colourDistance(QColor a, QColor b) {
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
           std::abs(a.blue() - b.blue());
}

// What `paint` draws on nothing, in an image of `size` points at `ratio` pixels a point.
inline QImage drawn(QSize size, const std::function<void(QPainter&)>& paint, double ratio = 1) {
    QImage image(size * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    paint(painter);
    return image;
}

// The popover's opaque panel as the theme draws it at `size`.
inline QImage paintedPanel(QSize size) {
    return drawn(size, [&](QPainter& painter) {
        theme::paintPanel(painter, QRectF(QPointF(), size), false);
    });
}

// Sets the user's locale while it lives.
class LocaleScope {
  public:
    explicit LocaleScope(const QLocale& locale) { QLocale::setDefault(locale); }
    ~LocaleScope() { QLocale::setDefault(previous_); }

  private:
    QLocale previous_;
};

// A popover on a simulated desktop, laid out at its own size.
class PopoverFixture : public corvane::testing::ModelFixture {
  protected:
    // Puts `displays` on the desktop (display N stored at the Nth of `levels`), starts the
    // model and opens the popover at its own size.
    MenuPopoverView& open(const std::vector<sim::SimDisplayConfig>& displays,
                          std::initializer_list<double> levels = {}) {
        int id = 0;
        for (double level : levels)
            desktop.preferences().set("corvane.brightness.display-" + std::to_string(++id), level);
        for (const sim::SimDisplayConfig& display : displays) desktop.add(display);
        startModel();
        popover = std::make_unique<MenuPopoverView>(*model, [this] { ++quits; });
        popover->resize(popover->sizeHint());
        popover->show();
        QCoreApplication::processEvents();
        return *popover;
    }
    // Makes the popover the active window with the keyboard's input going to it.
    void activate() {
        QApplication::setActiveWindow(popover.get());
        popover->setFocus(Qt::PopupFocusReason);
        QCoreApplication::processEvents();
    }

    template <typename T = QWidget>
    T& part(const char* name) {
        auto* found = popover->findChild<T*>(name);
        if (!found) throw std::runtime_error(std::string("no popover part ") + name);
        return *found;
    }
    bool shows(const char* name) { return part(name).isVisibleTo(popover.get()); }
    MiniSwitch& toggle(const char* row) { return part<SettingsRow>(row).toggle(); }
    // Where `widget` sits in the popover.
    QRect placed(QWidget& widget) {
        return QRect(widget.mapTo(popover.get(), QPoint(0, 0)), widget.size());
    }

    DisplayCardView& card(DisplayID id) {
        for (DisplayCardView* card : popover->cards())
            if (card->displayId() == id) return *card;
        throw std::runtime_error("no card for display " + std::to_string(id));
    }
    PresetPill& pill(BrightnessPreset preset) {
        for (PresetPill* pill : popover->findChildren<PresetPill*>())
            if (pill->preset() == preset) return *pill;
        throw std::runtime_error("no pill");
    }
    // How many times the indicator was shown.
    int indicatorShows() {
        return indicator() ? static_cast<int>(indicator()->contents.size()) : 0;
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
