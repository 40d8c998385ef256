// What a screen reader finds in every window: each control that can take the keyboard focus
// has a name to read out, the function keys are named even when blank, and the receipt's
// rows read as their glyph and number.
#include "EveryWindow.h"
#include "ReceiptListView.h"
#include "TFuncKey.h"

#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>
#include <QStringList>
#include <gtest/gtest.h>

using namespace bansho;

namespace {

QString NameOf(QObject* o) {
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(o);
    return a ? a->text(QAccessible::Name).trimmed() : QString();
}

class AccessibleNames : public bansho::testing::EveryWindowTest {};

TEST_F(AccessibleNames, EveryControlThatTakesTheFocusHasAName) {
    QStringList nameless;
    const int visited = VisitEveryWindow([&](const QString& what, QWidget* window) {
        for (QWidget* w : window->findChildren<QWidget*>()) {
            if (!(w->focusPolicy() & Qt::TabFocus) || w->window() != window) continue;
            // The edit field inside a combo or spin box is read as part of its box.
            QWidget* p = w->parentWidget();
            if (qobject_cast<QLineEdit*>(w) &&
                (qobject_cast<QComboBox*>(p) || qobject_cast<QAbstractSpinBox*>(p)))
                continue;
            if (NameOf(w).isEmpty())
                nameless << what + QStringLiteral(": ") + w->metaObject()->className() +
                                QStringLiteral(" ") + w->objectName();
        }
    });
    EXPECT_EQ(visited, 10);
    EXPECT_TRUE(nameless.isEmpty()) << nameless.join('\n').toStdString();
}

TEST_F(AccessibleNames, FunctionKeysAreNamedEvenWhenBlank) {
    auto* bar = main_->findChild<TFuncKey*>("FKey");
    ASSERT_NE(bar, nullptr);
    for (int i = 0; i < TFuncKey::kKeys; ++i) {
        FunctionKeyButton* key = bar->GetKey(i);
        const QString name = NameOf(key);
        SCOPED_TRACE(i + 1);
        EXPECT_TRUE(name.contains(QStringLiteral("F%1").arg(i + 1))) << name.toStdString();
        if (!key->Caption().trimmed().isEmpty()) {
            EXPECT_TRUE(name.contains(key->Caption().trimmed())) << name.toStdString();
        }
    }
}

TEST_F(AccessibleNames, ReceiptRowsReadAsGlyphAndNumber) {
    // 1234 + 5 = : the input receipt holds 1,234 and ＋5, read without the aligning blanks.
    for (int c : {1, 2, 3, 4, 17, 5, 19}) main_->ExecCommand(c);
    auto* list = hist_->findChild<ReceiptListView*>();
    ASSERT_NE(list, nullptr);
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(list);
    ASSERT_NE(a, nullptr);
    QStringList rows;
    for (int i = 0; i < a->childCount(); ++i) rows << a->child(i)->text(QAccessible::Name);
    ASSERT_GE(rows.size(), 2) << rows.join('|').toStdString();
    EXPECT_TRUE(rows[0].endsWith(QStringLiteral("1,234."))) << rows[0].toStdString();
    EXPECT_EQ(rows[1].toStdString(), "＋5.");
    EXPECT_EQ(a->child(1)->role(), QAccessible::ListItem);
    EXPECT_EQ(a->role(), QAccessible::List);
}

} // namespace
