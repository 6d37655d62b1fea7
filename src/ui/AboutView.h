#pragma once

#include <QWidget>
#include <vector>

#include "model/AppModel.h"

class QAbstractButton;
class QLabel;

namespace corvane::ui {

class LinkRow;

// The About panel, shown in the popover in place of its main content: the logo with the
// product title and version, a description, links to the maker's website and address, and a
// Close button that brings the main content back. The host gives it its padding and panel.
// The model outlives the view.
class AboutView final : public QWidget {
    Q_OBJECT
  public:
    explicit AboutView(AppModel& model, QWidget* parent = nullptr);

    LinkRow& websiteRow() { return *website_; }
    LinkRow& contactRow() { return *contact_; }
    QAbstractButton& closeButton() { return *close_; }

  protected:
    void changeEvent(QEvent* event) override;

  private:
    QLabel* secondary(QLabel* label);
    static void tint(QLabel* label);
    QLayout* makeHeader();
    QWidget* makeDescription();
    QLayout* makeLinks();
    QLayout* makeCloseRow();

    AppModel& model_;
    LinkRow* website_ = nullptr;
    LinkRow* contact_ = nullptr;
    QAbstractButton* close_ = nullptr;
    std::vector<QLabel*> secondaryLabels_;
};

}  // namespace corvane::ui
