#include "ReceiptListModel.h"

#include <limits>
#include <utility>

namespace bansho {

namespace {
int ToRow(std::size_t i) {
    return i > static_cast<std::size_t>(std::numeric_limits<int>::max())
               ? std::numeric_limits<int>::max()
               : static_cast<int>(i);
}
} // namespace

ReceiptListModel::ReceiptListModel(RowSource rows, QObject* parent)
    : QAbstractListModel(parent), rows_(std::move(rows)), count_(ToRow(rows_.count())) {}

int ReceiptListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : count_;
}

long long ReceiptListModel::SourceRow(int row) const {
    if (pendingStep_ > 0 && row >= pendingAt_) return row + 1LL; // the new row is not shown yet
    if (pendingStep_ < 0 && row == pendingAt_) return -1;        // already gone from the engine
    if (pendingStep_ < 0 && row > pendingAt_) return row - 1LL;
    return row;
}

QString ReceiptListModel::RowText(int row) const {
    if (row < 0 || row >= count_) return {};
    const long long src = SourceRow(row);
    if (src < 0 || src >= static_cast<long long>(rows_.count())) return {};
    const std::string s = rows_.text(static_cast<std::size_t>(src));
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

QVariant ReceiptListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.column() != 0) return {};
    if (role == Qt::DisplayRole) return RowText(index.row());
    // A screen reader reads the glyph and the number, not the blanks that align the points.
    if (role == Qt::AccessibleTextRole) return RowText(index.row()).simplified();
    return {};
}

Qt::ItemFlags ReceiptListModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

void ReceiptListModel::RowAppended(std::size_t index) {
    RowInserted(index);
}

void ReceiptListModel::RowInserted(std::size_t index) {
    const int row = ToRow(index);
    if (row > count_ || ToRow(rows_.count()) != count_ + 1) {
        Resync();
        return;
    }
    pendingAt_ = row;
    pendingStep_ = 1;
    beginInsertRows({}, row, row);
    pendingStep_ = 0;
    ++count_;
    endInsertRows();
}

void ReceiptListModel::RowRemoved(std::size_t index) {
    const int row = ToRow(index);
    if (row >= count_ || ToRow(rows_.count()) != count_ - 1) {
        Resync();
        return;
    }
    pendingAt_ = row;
    pendingStep_ = -1;
    beginRemoveRows({}, row, row);
    pendingStep_ = 0;
    --count_;
    endRemoveRows();
}

void ReceiptListModel::RowReplaced(std::size_t index) {
    const int row = ToRow(index);
    if (row >= count_) return;
    emit dataChanged(this->index(row), this->index(row));
}

void ReceiptListModel::RowsSwapped(std::size_t i, std::size_t j) {
    RowReplaced(i);
    RowReplaced(j);
}

void ReceiptListModel::HistoryCleared() {
    Resync();
}

void ReceiptListModel::Resync() {
    beginResetModel();
    pendingStep_ = 0;
    count_ = ToRow(rows_.count());
    endResetModel();
}

} // namespace bansho
