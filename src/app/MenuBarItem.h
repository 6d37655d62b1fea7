#pragma once

#include <QIcon>
#include <QObject>
#include <QRect>
#include <QSystemTrayIcon>
#include <optional>

#include "app/GlyphIcon.h"
#include "app/MenuBarGlyph.h"

namespace corvane {
class AppModel;
}

namespace corvane::app {

// The tray item: the sun glyph with its readout, the tooltip "Corvane Display", and a signal
// when the user activates it. It follows the model, and draws a new icon only when what the
// glyph shows has changed.
class MenuBarItem : public QObject {
    Q_OBJECT
  public:
    explicit MenuBarItem(AppModel& model, QObject* parent = nullptr);
    ~MenuBarItem() override;

    void show() { tray_.show(); }
    // Reads the glyph's inputs from the model and redraws the icon if they changed it.
    void update();

    GlyphContent content() const { return *content_; }
    const QIcon& icon() const { return icon_; }
    // How many times the icon was drawn.
    int redrawCount() const { return redraws_; }
    // Where the item is on screen, or the pointer's position when the tray does not say.
    QRect anchor() const;

  signals:
    void activated();

  private:
    void redraw(const GlyphContent& content);

    AppModel& model_;
    int observer_ = 0;
    QSystemTrayIcon tray_;
    QIcon icon_;
    std::optional<GlyphInputs> inputs_;
    std::optional<GlyphContent> content_;
    int redraws_ = 0;
};

}  // namespace corvane::app
