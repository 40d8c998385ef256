#pragma once
// Checks that a window's captions fit their controls and that no two controls overlap.
#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

#include <vector>

namespace bansho::testing {

// Whether a control is too small for its caption: a push button needs its text and a little
// room for its frame (its size hint adds a style minimum width), a label that wraps its text
// its longest unbreakable piece and the height of its lines at its width, the others their
// size hint.
inline bool Clipped(QWidget* w) {
    if (auto* l = qobject_cast<QLabel*>(w); l && l->wordWrap())
        return l->width() < l->minimumSizeHint().width() ||
               l->height() < l->heightForWidth(l->width());
    if (auto* b = qobject_cast<QPushButton*>(w))
        return b->fontMetrics().horizontalAdvance(b->text()) + 8 > b->width() ||
               b->height() < b->minimumSizeHint().height();
    return w->width() < w->sizeHint().width() || w->height() < w->minimumSizeHint().height();
}

inline QString Caption(QWidget* w) {
    if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text();
    if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
    if (auto* g = qobject_cast<QGroupBox*>(w)) return g->title();
    return w->objectName();
}

// Checks every caption of a window's visible controls, and that no two of them overlap.
inline void ExpectNothingClippedOrOverlapping(QWidget* top, const QString& where,
                                              const QList<QWidget*>& skip = {}) {
    std::vector<QWidget*> leaves;
    for (QWidget* w : top->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(top) || skip.contains(w)) continue;
        const QRect r(w->mapTo(top, QPoint(0, 0)), w->size());
        EXPECT_TRUE(top->rect().contains(r))
            << where.toStdString() << ": outside: " << Caption(w).toStdString();
        if (qobject_cast<QGroupBox*>(w)) {
            EXPECT_GE(w->width(), w->minimumSizeHint().width())
                << where.toStdString() << ": group clipped: " << Caption(w).toStdString();
            continue;
        }
        const bool captioned = qobject_cast<QAbstractButton*>(w) || qobject_cast<QLabel*>(w);
        if (!captioned) continue;
        EXPECT_FALSE(Clipped(w)) << where.toStdString()
                                 << ": clipped: " << Caption(w).toStdString();
        leaves.push_back(w);
    }
    for (std::size_t i = 0; i < leaves.size(); ++i)
        for (std::size_t j = i + 1; j < leaves.size(); ++j) {
            const QRect a(leaves[i]->mapTo(top, QPoint(0, 0)), leaves[i]->size());
            const QRect b(leaves[j]->mapTo(top, QPoint(0, 0)), leaves[j]->size());
            EXPECT_FALSE(a.intersects(b))
                << where.toStdString() << ": " << Caption(leaves[i]).toStdString() << " overlaps "
                << Caption(leaves[j]).toStdString();
        }
}

} // namespace bansho::testing
