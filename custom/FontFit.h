#pragma once
// The display font of the customization dialog: fitting a font to a width, and the list of
// font faces the user may choose from.
#include <QStringList>

#include <functional>

class QComboBox;
class QLabel;
class QString;

namespace bansho {

// A fitted height never leaves this range, however narrow or wide the label.
inline constexpr int kFitMinHeight = 4;
inline constexpr int kFitMaxHeight = 2000;

// The font height for `width`: when the text is narrower than the width at the start height,
// the height grows in 2-pixel steps until the text is at least as wide; otherwise it shrinks in
// 2-pixel steps while the text is wider. A negative start height counts by its magnitude.
int FitFontHeight(int startHeight, int width, const std::function<int(int height)>& textWidth);

// Fits the label's font (pixel height) so that `text` spans the label's width.
void FitFontToWidth(QLabel* label, const QString& text);

// The scalable font faces of the screen, in the order the font system reports them, each
// once: without the vertical-writing variants whose names begin with "@", without the generic
// names that stand for another face ("Sans Serif", "Serif", "Monospace"), and a face that
// several foundries make ("C059 [urw]", "C059 [UKWN]") under its own name alone.
QStringList ListScreenFonts();
// The rule of ListScreenFonts over a list of family names as Qt gives them; `installed` tells
// whether a face name (without foundry) belongs to an installed font.
QStringList UniqueFaces(const QStringList& families,
                        const std::function<bool(const QString& face)>& installed);
// The same into a combo box, replacing its items.
void ListScreenFonts(QComboBox* list);

} // namespace bansho
