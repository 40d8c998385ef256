#pragma once
// The history window's sizing and docking rules, as pure functions so that they can be
// checked without a window.
#include <QRect>
#include <QString>

namespace bansho {

inline constexpr int kHistMinHeight = 214; // one less than the design height 215
inline constexpr int kHistMinRowHeight = 12;
inline constexpr int kHistMaxRowHeight = 30;

// Row height of the list from the display font's character height: a third of it, kept
// between 12 and 30 pixels. A negative height counts by its magnitude.
int HistRowHeight(int displayFontHeight);

// The list font fitted to the row: below the row it first grows to row + 1, then anything
// above the row shrinks to row - 1. A font that equals the row height is kept.
int FitListFontHeight(int fontHeight, int rowHeight);

// Outer rectangle of the docked history window: the main window's left edge and width, the
// history window's own height, directly below the main window (one pixel apart) or, with
// `upper`, directly above it. Not clamped to the screen.
QRect DockedRect(const QRect& mainFrame, int histHeight, bool upper);

// The size rule's floor: at least 214 high and at least as wide as the main window.
QSize ClampHistSize(QSize outer, int mainWidth);

// x of the lamp centred in a side panel of the given width (24-pixel lamp: +1 to the right).
int LedLeft(int panelWidth, int ledWidth);

// The window title for a receipt kind; empty for a value that names none.
QString ReceiptTitle(int histSet);
// The title before the first activation.
QString InitialHistTitle();

} // namespace bansho
