#pragma once

#include <QIconEngine>
#include <QPixmap>

#include "app/MenuBarGlyph.h"

namespace corvane::app {

// The tray glyph as an icon that draws itself when asked: only at the size and pixel ratio
// the tray requests, and again only when that request changes. It names no sizes of its own,
// so a tray that sends images ahead (the D-Bus item) asks for the few it needs.
class GlyphIconEngine final : public QIconEngine {
  public:
    explicit GlyphIconEngine(const GlyphContent& content) : content_(content) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override;
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override;
    QIconEngine* clone() const override { return new GlyphIconEngine(*this); }
    QString key() const override { return QStringLiteral("corvane.glyph"); }

    // How many times the glyph was drawn.
    int drawCount() const { return draws_; }

  private:
    GlyphContent content_;
    QPixmap drawn_;
    QSize drawnSize_;
    qreal drawnScale_ = 0;
    int draws_ = 0;
};

}  // namespace corvane::app
