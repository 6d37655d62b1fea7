#include "ui/SettingsRow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <cmath>

#include "ui/Fonts.h"
#include "ui/Localization.h"
#include "ui/MiniSwitch.h"
#include "ui/SymbolBox.h"
#include "ui/Theme.h"

namespace corvane::ui {
namespace {

constexpr int kSpacing = 8;
constexpr int kSymbolColumnWidth = 16;
constexpr double kSymbolPointSize = 11;
constexpr double kTitlePointSize = 12;

// The row's symbol, centred in its column.
class RowSymbol : public QWidget {
  public:
    RowSymbol(std::string_view name, QWidget* parent) : QWidget(parent), name_(name) {
        const int side = static_cast<int>(std::ceil(symbols::sideForPointSize(kSymbolPointSize)));
        setFixedSize(kSymbolColumnWidth, side);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        symbols::paint(painter, symbolBox(kSymbolPointSize, QRectF(rect()).center()), name_,
                       theme::primary());
    }

  private:
    std::string name_;
};

}  // namespace

SettingsRow::SettingsRow(std::string_view symbol, std::string_view titleKey, QWidget* parent)
    : QWidget(parent), switch_(new MiniSwitch) {
    auto* title = new QLabel(localized(titleKey));
    title->setFont(fonts::system(kTitlePointSize));
    switch_->setAccessibleName(title->text());

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(kSpacing);
    row->addWidget(new RowSymbol(symbol, this), 0, Qt::AlignVCenter);
    row->addWidget(title, 0, Qt::AlignVCenter);
    row->addStretch(1);
    row->addWidget(switch_, 0, Qt::AlignVCenter);
    connect(switch_, &MiniSwitch::clicked, this, &SettingsRow::flipped);
}

bool SettingsRow::isOn() const {
    return switch_->isChecked();
}

void SettingsRow::setOn(bool on) {
    switch_->setChecked(on);
}

}  // namespace corvane::ui
