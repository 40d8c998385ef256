#include "HistoryListAccessible.h"

#include "ReceiptListView.h"

#include <QAccessibleWidget>
#include <QScrollBar>

#include <map>

namespace bansho {

namespace {

class HistoryListAccessible;

// One row. Rows are made when a screen reader asks for them and live as long as the list's
// interface; a row past the end reads as nothing.
class HistoryRowAccessible : public QAccessibleInterface {
public:
    HistoryRowAccessible(HistoryListAccessible* list, int row) : list_(list), row_(row) {}

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override;

private:
    ReceiptListView* List() const;
    HistoryListAccessible* list_;
    int row_;
};

class HistoryListAccessible : public QAccessibleWidget {
public:
    explicit HistoryListAccessible(ReceiptListView* list)
        : QAccessibleWidget(list, QAccessible::List) {}
    ~HistoryListAccessible() override {
        for (auto& [row, id] : rows_) QAccessible::deleteAccessibleInterface(id);
    }

    ReceiptListView* List() const { return static_cast<ReceiptListView*>(widget()); }
    int childCount() const override { return List()->Count(); }
    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= childCount()) return nullptr;
        auto it = rows_.find(index);
        if (it == rows_.end()) {
            auto* row = new HistoryRowAccessible(const_cast<HistoryListAccessible*>(this), index);
            it = rows_.emplace(index, QAccessible::registerAccessibleInterface(row)).first;
        }
        return QAccessible::accessibleInterface(it->second);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        for (const auto& [row, id] : rows_)
            if (QAccessible::accessibleInterface(id) == child) return row;
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        const QPoint p = List()->viewport()->mapFromGlobal(QPoint(x, y));
        const int row = List()->RowAt(p);
        return row >= 0 ? child(row) : nullptr;
    }

private:
    mutable std::map<int, QAccessible::Id> rows_;
};

bool HistoryRowAccessible::isValid() const {
    return list_->isValid() && row_ < List()->Count();
}

ReceiptListView* HistoryRowAccessible::List() const {
    return list_->List();
}

QWindow* HistoryRowAccessible::window() const {
    return list_->window();
}

QAccessibleInterface* HistoryRowAccessible::parent() const {
    return list_;
}

QString HistoryRowAccessible::text(QAccessible::Text t) const {
    if (t != QAccessible::Name || !isValid() || !List()->model()) return {};
    const QModelIndex index = List()->model()->index(row_, 0);
    return List()->model()->data(index, Qt::AccessibleTextRole).toString();
}

QRect HistoryRowAccessible::rect() const {
    if (!isValid()) return {};
    ReceiptListView* list = List();
    const int y = (row_ - list->TopRow()) * list->RowHeight();
    const QPoint topLeft = list->viewport()->mapToGlobal(QPoint(0, y));
    return QRect(topLeft, QSize(list->viewport()->width(), list->RowHeight()));
}

QAccessible::State HistoryRowAccessible::state() const {
    QAccessible::State s;
    s.selectable = true;
    if (!isValid()) {
        s.invalid = true;
        return s;
    }
    const int top = List()->TopRow();
    if (row_ < top || row_ >= top + List()->VisibleRows() + 1) s.invisible = s.offscreen = true;
    if (row_ == List()->SelectedRow()) {
        s.selected = true;
        s.focused = List()->hasFocus();
    }
    return s;
}

} // namespace

QAccessibleInterface* HistoryListAccessibleFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("bansho::ReceiptListView") && object && object->isWidgetType())
        return new HistoryListAccessible(static_cast<ReceiptListView*>(object));
    return nullptr;
}

} // namespace bansho
