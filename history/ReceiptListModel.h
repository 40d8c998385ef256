#pragma once
// The history rows as an item model: a thin mirror over the engine's rows. It holds no copy of
// the rows, only the row count as of the last notification, and asks for a row's text only
// when a view draws it, so that every change costs the same whether the receipt has ten rows
// or a million.
//
// The engine changes its lists first and reports afterwards; between the begin and end of a
// change the model still shows the rows as they were before it, as item views expect.
#include <QAbstractListModel>

#include <cstddef>
#include <functional>
#include <string>

namespace bansho {

class ReceiptListModel : public QAbstractListModel {
public:
    // Where the rows come from: how many there are now, and the text (UTF-8) of row i as it
    // is now, drawn when asked. Both must stay callable as long as the model lives.
    struct RowSource {
        std::function<std::size_t()> count;
        std::function<std::string(std::size_t)> text;
    };
    explicit ReceiptListModel(RowSource rows, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The engine's notifications; each index is a row of the lists as they are now.
    void RowAppended(std::size_t index);
    void RowReplaced(std::size_t index);
    void RowInserted(std::size_t index);
    void RowRemoved(std::size_t index);
    void RowsSwapped(std::size_t i, std::size_t j);
    void HistoryCleared();
    // Takes the engine's count as it is (start-up, or after anything unreported).
    void Resync();

    // The row text as the list shows it.
    QString RowText(int row) const;

private:
    // The engine row that stands at `row` while a change is being announced, or -1 for the
    // row that is already gone.
    long long SourceRow(int row) const;

    RowSource rows_;
    int count_ = 0;
    int pendingAt_ = -1;  // row of an announced insertion or removal
    int pendingStep_ = 0; // +1 insertion, -1 removal, 0 none
};

} // namespace bansho
