#include "ui/AccessibleViews.h"

#include <QAccessibleWidget>

#include "ui/DisplayCardView.h"
#include "ui/GlowSlider.h"
#include "ui/MiniSwitch.h"
#include "ui/PopoverHeader.h"

namespace corvane::ui {
namespace {

class AccessibleSlider final : public QAccessibleWidget, public QAccessibleValueInterface {
  public:
    explicit AccessibleSlider(GlowSlider* slider)
        : QAccessibleWidget(slider, QAccessible::Slider) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Value) return slider().valueText();
        return QAccessibleWidget::text(kind);
    }

    QVariant currentValue() const override { return slider().value(); }
    void setCurrentValue(const QVariant& value) override { slider().moveTo(value.toDouble()); }
    QVariant maximumValue() const override { return 100.0; }
    QVariant minimumValue() const override { return 0.0; }
    QVariant minimumStepSize() const override { return GlowSlider::kFineStep; }

  private:
    GlowSlider& slider() const { return *static_cast<GlowSlider*>(widget()); }
};

// A switch is a check box to assistive tools. Toggling it there is a click, like the user's:
// the owner, not the switch, decides what it shows next.
class AccessibleSwitch final : public QAccessibleWidget {
  public:
    explicit AccessibleSwitch(MiniSwitch* toggle)
        : QAccessibleWidget(toggle, QAccessible::CheckBox) {}

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.checkable = true;
        state.checked = toggle().isChecked();
        return state;
    }

    QStringList actionNames() const override {
        return QStringList{toggleAction(), pressAction()} + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& name) override {
        if (name == toggleAction() || name == pressAction())
            toggle().click();
        else
            QAccessibleWidget::doAction(name);
    }

  private:
    MiniSwitch& toggle() const { return *static_cast<MiniSwitch*>(widget()); }
};

// The header is a button only while pressing it steps the presets; otherwise it is the
// popover's title, with nothing to press.
class AccessibleHeader final : public QAccessibleWidget {
  public:
    explicit AccessibleHeader(PopoverHeader* header) : QAccessibleWidget(header) {}

    QAccessible::Role role() const override {
        return header().cycles() ? QAccessible::Button : QAccessible::StaticText;
    }

    QStringList actionNames() const override {
        QStringList names = QAccessibleWidget::actionNames();
        if (header().cycles()) names.prepend(pressAction());
        return names;
    }

    void doAction(const QString& name) override {
        if (name == pressAction() && header().cycles())
            header().click();
        else
            QAccessibleWidget::doAction(name);
    }

  private:
    PopoverHeader& header() const { return *static_cast<PopoverHeader*>(widget()); }
};

QAccessibleInterface* accessibleView(const QString&, QObject* object) {
    if (auto* slider = qobject_cast<GlowSlider*>(object)) return new AccessibleSlider(slider);
    if (auto* toggle = qobject_cast<MiniSwitch*>(object)) return new AccessibleSwitch(toggle);
    if (auto* header = qobject_cast<PopoverHeader*>(object)) return new AccessibleHeader(header);
    if (auto* card = qobject_cast<DisplayCardView*>(object))
        return new QAccessibleWidget(card, QAccessible::Grouping);
    return nullptr;
}

}  // namespace

void installAccessibleViews() {
    static const bool installed = [] {
        QAccessible::installFactory(accessibleView);
        return true;
    }();
    (void)installed;
}

}  // namespace corvane::ui
