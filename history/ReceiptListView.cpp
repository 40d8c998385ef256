#include "ReceiptListView.h"

#include "HistoryListAccessible.h"

#include <QAbstractItemModel>
#include <QAccessible>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace bansho {

namespace {

// Columns a character takes: one for ASCII and half-width kana, two for the rest (the widths
// the row texts are aligned in).
int CellsOf(QChar c) {
    const char16_t u = c.unicode();
    return (u < 0x80 || (u >= 0xFF61 && u <= 0xFF9F)) ? 1 : 2;
}

} // namespace

ReceiptListView::ReceiptListView(QWidget* parent) : QAbstractScrollArea(parent) {
    static const bool accessible = [] {
        QAccessible::installFactory(HistoryListAccessibleFactory);
        return true;
    }();
    (void)accessible;
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setFocusPolicy(Qt::ClickFocus); // skipped by Tab
    viewport()->setAutoFillBackground(true);
    verticalScrollBar()->setSingleStep(1);
}

void ReceiptListView::setModel(QAbstractItemModel* model) {
    if (model_) disconnect(model_, nullptr, this, nullptr);
    model_ = model;
    selected_ = -1;
    if (model_) {
        connect(model_, &QAbstractItemModel::rowsInserted, this, &ReceiptListView::RowsInserted);
        connect(model_, &QAbstractItemModel::rowsRemoved, this, &ReceiptListView::RowsRemoved);
        connect(model_, &QAbstractItemModel::modelReset, this, &ReceiptListView::ModelReset);
        connect(model_, &QAbstractItemModel::dataChanged, this, [this] { viewport()->update(); });
        connect(model_, &QAbstractItemModel::layoutChanged, this, [this] { viewport()->update(); });
    }
    UpdateScrollRange();
    viewport()->update();
}

int ReceiptListView::Count() const {
    return model_ ? model_->rowCount() : 0;
}

void ReceiptListView::SetRowHeight(int height) {
    height = std::max(1, height);
    if (height == rowHeight_) return;
    rowHeight_ = height;
    UpdateScrollRange();
    EnsureVisible(selected_);
    viewport()->update();
}

void ReceiptListView::SetSelectedRow(int row) {
    if (row < 0 || row >= Count()) row = -1;
    if (row != selected_) {
        selected_ = row;
        viewport()->update();
        // A screen reader reads the row the selection moved to.
        if (row >= 0 && QAccessible::isActive()) {
            QAccessibleEvent selection(this, QAccessible::Selection);
            selection.setChild(row);
            QAccessible::updateAccessibility(&selection);
            if (hasFocus()) {
                QAccessibleEvent focus(this, QAccessible::Focus);
                focus.setChild(row);
                QAccessible::updateAccessibility(&focus);
            }
        }
    }
    EnsureVisible(selected_);
}

int ReceiptListView::TopRow() const {
    return verticalScrollBar()->value();
}

int ReceiptListView::VisibleRows() const {
    return std::max(1, viewport()->height() / rowHeight_);
}

int ReceiptListView::RowAt(const QPoint& pos) const {
    if (pos.y() < 0) return -1;
    const long long row = static_cast<long long>(TopRow()) + pos.y() / rowHeight_;
    return row < Count() ? static_cast<int>(row) : -1;
}

void ReceiptListView::SetColors(const QColor& background, const QColor& text) {
    QPalette p = viewport()->palette();
    p.setColor(QPalette::Base, background);
    p.setColor(QPalette::Window, background);
    p.setColor(QPalette::Text, text);
    viewport()->setPalette(p);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->update();
}

QColor ReceiptListView::BackgroundColor() const {
    return viewport()->palette().color(QPalette::Base);
}
QColor ReceiptListView::TextColor() const {
    return viewport()->palette().color(QPalette::Text);
}

int ReceiptListView::CellWidth() const {
    return std::max(1, QFontMetrics(font()).horizontalAdvance(QLatin1Char('0')));
}

void ReceiptListView::RowsInserted(const QModelIndex& parent, int first, int last) {
    if (parent.isValid()) return;
    if (selected_ >= first) selected_ += last - first + 1;
    UpdateScrollRange();
    viewport()->update();
}

void ReceiptListView::RowsRemoved(const QModelIndex& parent, int first, int last) {
    if (parent.isValid()) return;
    if (selected_ >= first && selected_ <= last)
        selected_ = -1;
    else if (selected_ > last)
        selected_ -= last - first + 1;
    UpdateScrollRange();
    viewport()->update();
}

void ReceiptListView::ModelReset() {
    selected_ = -1;
    UpdateScrollRange();
    verticalScrollBar()->setValue(0);
    viewport()->update();
}

void ReceiptListView::UpdateScrollRange() {
    const int visible = VisibleRows();
    QScrollBar* bar = verticalScrollBar();
    bar->setPageStep(visible);
    bar->setRange(0, std::max(0, Count() - visible));
}

void ReceiptListView::EnsureVisible(int row) {
    if (row < 0) return;
    const int top = TopRow();
    const int visible = VisibleRows();
    if (row < top)
        verticalScrollBar()->setValue(row);
    else if (row >= top + visible)
        verticalScrollBar()->setValue(row - visible + 1);
}

void ReceiptListView::scrollContentsBy(int, int) {
    viewport()->update();
}

void ReceiptListView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollRange();
}

void ReceiptListView::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) viewport()->update();
}

// The focus frame comes and goes with the keyboard.
void ReceiptListView::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void ReceiptListView::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

void ReceiptListView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    const int row = RowAt(event->position().toPoint());
    if (row >= 0) SetSelectedRow(row);
    event->accept();
    emit RowClicked(row);
}

// Keys belong to the window: nothing here moves the selection or scrolls.
void ReceiptListView::keyPressEvent(QKeyEvent* event) {
    event->ignore();
}

void ReceiptListView::paintEvent(QPaintEvent* event) {
    QPainter p(viewport());
    const int count = Count();
    if (!model_ || count == 0) return;
    const QRect area = event->rect();
    const int top = TopRow();
    const int width = viewport()->width();
    const int firstVisible = std::max(0, area.top() / rowHeight_);
    const int lastVisible = area.bottom() / rowHeight_;
    const bool focused = hasFocus();
    for (int i = firstVisible; i <= lastVisible; ++i) {
        const long long row = static_cast<long long>(top) + i;
        if (row >= count) break;
        const QModelIndex index = model_->index(static_cast<int>(row), 0);
        const QString text = model_->data(index, Qt::DisplayRole).toString();
        const bool selected = row == selected_;
        DrawRow(p, QRect(0, i * rowHeight_, width, rowHeight_), text, selected,
                focused && selected);
    }
}

void ReceiptListView::DrawRow(QPainter& p, const QRect& rect, const QString& text, bool selected,
                              bool focusRow) const {
    const QPalette& pal = viewport()->palette();
    if (selected) p.fillRect(rect, pal.color(QPalette::Highlight));
    p.save();
    p.setClipRect(rect);
    p.setFont(font());
    p.setPen(pal.color(selected ? QPalette::HighlightedText : QPalette::Text));
    const QFontMetrics fm(font());
    const int cell = CellWidth();
    // One line of text starting 2 pixels from the left, centred vertically in the row.
    const int baseline = rect.top() + (rect.height() - fm.height()) / 2 + fm.ascent();
    int column = 0;
    for (qsizetype k = 0; k < text.size(); ++k) {
        const QChar c = text.at(k);
        const int cells = CellsOf(c);
        if (!c.isSpace()) {
            const int x = rect.left() + 2 + column * cell;
            if (c.isHighSurrogate() && k + 1 < text.size()) {
                p.drawText(QPoint(x, baseline), text.mid(k, 2));
                ++k;
            } else {
                // A character narrower or wider than its cells is centred in them.
                const int advance = fm.horizontalAdvance(c);
                p.drawText(QPoint(x + (cells * cell - advance) / 2, baseline), QString(c));
            }
        }
        column += cells;
    }
    p.restore();
    if (focusRow) {
        QPen pen(pal.color(selected ? QPalette::HighlightedText : QPalette::Text));
        pen.setStyle(Qt::DotLine);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        p.drawRect(rect.adjusted(0, 0, -1, -1));
    }
}

} // namespace bansho
