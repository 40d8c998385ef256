#pragma once
// What a screen reader finds in the receipt: the history list as a list whose rows are its
// items, each read as its glyph and number ("＋ 1,234."), the selected row marked selected.
// The list draws its rows itself, so Qt has no items to offer of its own.
class QAccessibleInterface;
class QObject;
class QString;

namespace bansho {

// The factory Qt asks for the list's accessible interface (installed once, at start).
QAccessibleInterface* HistoryListAccessibleFactory(const QString& className, QObject* object);

} // namespace bansho
