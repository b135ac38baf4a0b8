#pragma once

#include <QToolButton>

#include "app/window/glyphs.h"

// A button with its glyph above its caption. It takes the focus when clicked, so a
// number field being typed in is left, and brought within its range, before the
// button's action runs.
class TBitBtn : public QToolButton {
public:
    TBitBtn(TGlyph glyph, const QString& caption, QWidget* parent);
};
