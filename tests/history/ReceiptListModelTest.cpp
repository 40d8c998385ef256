// The row model mirrors a row list that changes before it is told, and the list view keeps
// its selection on the right row through every change.
#include "ReceiptListModel.h"
#include "ReceiptListView.h"

#include <QAbstractItemModelTester>
#include <QTest>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace bansho;

namespace {

// Collects the model tester's complaints.
class WarningCatcher {
public:
    WarningCatcher() {
        messages().clear();
        previous_ = qInstallMessageHandler(&Handler);
    }
    ~WarningCatcher() { qInstallMessageHandler(previous_); }
    static std::vector<std::string>& messages() {
        static std::vector<std::string> m;
        return m;
    }

private:
    static void Handler(QtMsgType type, const QMessageLogContext&, const QString& msg) {
        if (type != QtDebugMsg && type != QtInfoMsg) messages().push_back(msg.toStdString());
    }
    QtMessageHandler previous_ = nullptr;
};

class RowModel : public ::testing::Test {
protected:
    std::vector<std::string> rows_;
    ReceiptListModel model_{
        {[this] { return rows_.size(); }, [this](std::size_t i) { return rows_[i]; }}};
    WarningCatcher warnings_;
    QAbstractItemModelTester tester_{&model_,
                                     QAbstractItemModelTester::FailureReportingMode::Warning};

    std::vector<std::string> Shown() const {
        std::vector<std::string> out;
        for (int r = 0; r < model_.rowCount(); ++r)
            out.push_back(model_.data(model_.index(r)).toString().toStdString());
        return out;
    }
    void Append(const std::string& s) {
        rows_.push_back(s);
        model_.RowAppended(rows_.size() - 1);
    }
    void TearDown() override {
        for (const auto& m : WarningCatcher::messages())
            ADD_FAILURE() << "model tester: " << m;
    }
};

TEST_F(RowModel, EveryChangeIsMirroredInOrder) {
    Append("a");
    Append("b");
    Append("c");
    EXPECT_EQ(Shown(), (std::vector<std::string>{"a", "b", "c"}));

    rows_.insert(rows_.begin(), "x");
    model_.RowInserted(0);
    EXPECT_EQ(Shown(), (std::vector<std::string>{"x", "a", "b", "c"}));

    rows_.erase(rows_.begin() + 2);
    model_.RowRemoved(2);
    EXPECT_EQ(Shown(), (std::vector<std::string>{"x", "a", "c"}));

    std::swap(rows_[0], rows_[2]);
    model_.RowsSwapped(0, 2);
    EXPECT_EQ(Shown(), (std::vector<std::string>{"c", "a", "x"}));

    rows_[1] = "y";
    model_.RowReplaced(1);
    EXPECT_EQ(Shown(), (std::vector<std::string>{"c", "y", "x"}));

    rows_.clear();
    model_.HistoryCleared();
    EXPECT_EQ(model_.rowCount(), 0);
}

TEST_F(RowModel, DuringAnAnnouncedRemovalTheOldRowsAreStillShown) {
    Append("a");
    Append("b");
    Append("c");
    std::vector<std::string> seen;
    QObject::connect(&model_, &QAbstractItemModel::rowsAboutToBeRemoved, &model_,
                     [&] { seen = Shown(); });
    rows_.erase(rows_.begin());
    model_.RowRemoved(0);
    // The removed row itself is gone from the engine already; its neighbours are in place.
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[1], "b");
    EXPECT_EQ(seen[2], "c");
    EXPECT_EQ(Shown(), (std::vector<std::string>{"b", "c"}));
}

TEST_F(RowModel, AReportThatDoesNotFitTheRowsResynchronises) {
    rows_ = {"a", "b", "c"}; // three rows, never reported
    model_.RowAppended(2);
    EXPECT_EQ(Shown(), (std::vector<std::string>{"a", "b", "c"}));
}

TEST_F(RowModel, UnicodeRowsComeBackIntact) {
    Append("                   ＋0.");
    EXPECT_EQ(model_.RowText(0), QStringLiteral("                   ＋0."));
    EXPECT_EQ(model_.RowText(1), QString());
    EXPECT_EQ(model_.RowText(-1), QString());
}

class ListSelection : public RowModel {
protected:
    void SetUp() override {
        list_.resize(300, 200);
        list_.setModel(&model_);
        list_.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&list_));
        for (const char* s : {"a", "b", "c", "d"})
            Append(s);
    }
    ReceiptListView list_;
};

TEST_F(ListSelection, InsertionBeforeTheSelectedRowKeepsTheSameRowSelected) {
    list_.SetSelectedRow(2);
    rows_.insert(rows_.begin() + 1, "x");
    model_.RowInserted(1);
    EXPECT_EQ(list_.SelectedRow(), 3);
    rows_.insert(rows_.begin() + 4, "y"); // after it: unchanged
    model_.RowInserted(4);
    EXPECT_EQ(list_.SelectedRow(), 3);
}

TEST_F(ListSelection, RemovingTheSelectedRowLeavesNoSelection) {
    list_.SetSelectedRow(2);
    rows_.erase(rows_.begin());
    model_.RowRemoved(0);
    EXPECT_EQ(list_.SelectedRow(), 1);
    rows_.erase(rows_.begin() + 1);
    model_.RowRemoved(1);
    EXPECT_EQ(list_.SelectedRow(), -1);
}

TEST_F(ListSelection, ClearingAndOutOfRangeSelections) {
    list_.SetSelectedRow(10);
    EXPECT_EQ(list_.SelectedRow(), -1);
    list_.SetSelectedRow(3);
    rows_.clear();
    model_.HistoryCleared();
    EXPECT_EQ(list_.SelectedRow(), -1);
    EXPECT_EQ(list_.Count(), 0);
}

TEST_F(ListSelection, SelectingARowOutOfSightScrollsItIn) {
    list_.SetRowHeight(20);
    for (int i = 0; i < 100; ++i)
        Append(std::to_string(i));
    const int visible = list_.VisibleRows();
    ASSERT_LT(visible, 50);
    list_.SetSelectedRow(80);
    EXPECT_LE(list_.TopRow(), 80);
    EXPECT_GT(list_.TopRow() + visible, 80);
    list_.SetSelectedRow(0);
    EXPECT_EQ(list_.TopRow(), 0);
}

TEST_F(ListSelection, KeysDoNotMoveTheSelection) {
    list_.SetSelectedRow(1);
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QCoreApplication::sendEvent(&list_, &down);
    EXPECT_EQ(list_.SelectedRow(), 1);
}

} // namespace
