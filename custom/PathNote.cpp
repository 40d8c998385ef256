// A note that names a file, fitted to its lines (see PathNote.h).
#include "PathNote.h"

#include <QFontMetrics>

namespace bansho {

QString BreakableAnywhere(const QString& text) {
    QString out;
    out.reserve(text.size() * 2);
    for (const QChar c : text) {
        out += c;
        if (c.unicode() > 0x20 && c.unicode() < 0x7F) out += QChar(0x200B);
    }
    return out;
}

PathNote::PathNote(int maxLines, QWidget* parent) : QLabel(parent), maxLines_(maxLines) {
    setWordWrap(true);
    setTextFormat(Qt::PlainText);
}

void PathNote::SetNote(const QString& note) {
    note_ = note;
    setToolTip(note);
    Fit();
}

void PathNote::resizeEvent(QResizeEvent* e) {
    QLabel::resizeEvent(e);
    Fit();
}

void PathNote::Fit() {
    const qsizetype open = note_.indexOf(QLatin1Char('"'));
    const qsizetype close = note_.lastIndexOf(QLatin1Char('"'));
    QString shown = BreakableAnywhere(note_);
    if (open >= 0 && close > open + 1 && width() > 0) {
        const QString before = note_.left(open + 1);
        const QString path = note_.mid(open + 1, close - open - 1);
        const QString after = note_.mid(close);
        const QFontMetrics fm(font());
        auto lines = [&](const QString& text) {
            return fm.boundingRect(QRect(0, 0, width(), 100000), Qt::TextWordWrap, text).height();
        };
        // Less than one line more than it may take (lines of Latin and Japanese letters,
        // with the leading between them).
        const int room = (maxLines_ + 1) * lines(QStringLiteral("xあ")) - 1;
        // Fewer and fewer characters of the path's middle, its start and its name kept.
        for (qsizetype keep = path.size(); lines(shown) > room && keep > 8; keep -= 2) {
            const qsizetype head = keep / 3;
            shown = BreakableAnywhere(before + path.left(head) + QChar(0x2026) +
                                      path.right(keep - 1 - head) + after);
        }
    }
    if (text() != shown) setText(shown);
}

} // namespace bansho
