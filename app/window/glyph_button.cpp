#include "app/window/glyph_button.h"

TBitBtn::TBitBtn(TGlyph glyph, const QString& caption, QWidget* parent) : QToolButton(parent)
{
    setIcon(GlyphIcon(glyph));
    setIconSize(QSize(16, 16));
    setText(caption);
    setToolButtonStyle(caption.isEmpty() ? Qt::ToolButtonIconOnly : Qt::ToolButtonTextUnderIcon);
    setFocusPolicy(Qt::StrongFocus);
}
