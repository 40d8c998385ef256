#pragma once
// The history list (`HistWin`): a view over a one-column item model in which every row has
// the same height. It lays out nothing per row: the scroll position is a row number and a
// paint touches only the rows in sight, so a million rows cost no more than ten.
//
// Rows are drawn in half-width character cells (a full-width character takes two), so the
// decimal points that the row texts line up in one column stand in one column on the screen
// whatever the font's own advances are. The list never moves its selection from the keyboard:
// the window it sits in handles every key.
#include <QAbstractItemModel>
#include <QAbstractScrollArea>
#include <QPointer>

namespace bansho {

class ReceiptListView : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit ReceiptListView(QWidget* parent = nullptr);

    void setModel(QAbstractItemModel* model);
    QAbstractItemModel* model() const { return model_; }
    int Count() const;

    int RowHeight() const { return rowHeight_; }
    void SetRowHeight(int height); // at least 1

    // The selected row, -1 for none. Selecting a row scrolls it into sight.
    int SelectedRow() const { return selected_; }
    void SetSelectedRow(int row); // out of range: no selection
    // The first row in sight.
    int TopRow() const;
    // Rows that fit the viewport whole.
    int VisibleRows() const;
    // The row under a viewport point, -1 below the last row.
    int RowAt(const QPoint& viewportPos) const;

    // Background and text colours of the rows.
    void SetColors(const QColor& background, const QColor& text);
    QColor BackgroundColor() const;
    QColor TextColor() const;

    // Width of one half-width character cell in the current font.
    int CellWidth() const;
    // Frame width around the rows (each side).
    int FrameExtent() const { return frameWidth(); }

signals:
    // A mouse click selected `row` (or hit no row: -1).
    void RowClicked(int row);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void RowsInserted(const QModelIndex& parent, int first, int last);
    void RowsRemoved(const QModelIndex& parent, int first, int last);
    void ModelReset();
    void UpdateScrollRange();
    void EnsureVisible(int row);
    void DrawRow(class QPainter& p, const QRect& rect, const QString& text, bool selected,
                 bool focusRow) const;

    QPointer<QAbstractItemModel> model_;
    int rowHeight_ = 20;
    int selected_ = -1;
};

} // namespace bansho
