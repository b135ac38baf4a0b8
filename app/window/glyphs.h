#pragma once

#include <QIcon>

// The small pictures on the window's buttons, drawn here: 16 by 16, with a greyed
// form for a disabled button.
enum class TGlyph { Open, Analyse, Save, Clipboard, About, Close, Help };

QIcon GlyphIcon(TGlyph glyph);
