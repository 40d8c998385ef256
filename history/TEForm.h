#pragma once
// The entry edit dialog: the operator and the number of one history entry, each checked as
// it is typed. A time or a date row reads as the receipt shows it ("1:23:45", "2026-12-07") and
// is corrected in that form. OK writes the entry back through the engine (all three lists, at EditIndex
// only); the close box and Shift+Escape write nothing. The history window re-totals after
// the dialog has closed, however it was closed.
#include <QDialog>
#include <QString>

#include <cstddef>
#include <string>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace bansho {

class CalcEngine;
struct TOption;
struct TCalcStatus;

class TEForm : public QDialog {
public:
    static const QString kTitle;           // " 演算子と数値の "
    static const QString kNumberMessage;   // "正しい数値を入力して下さい"
    static const QString kOperatorMessage; // "正しい演算子を入力して下さい"
    static const QString kTimeMessage;     // "正しい時間を入力して下さい"
    static const QString kDateMessage;     // "正しい日付を入力して下さい"

    // Opening (FormCreate): the entry at `editIndex` is shown; the title ends in
    // `editCaption`. The owner is the main window.
    TEForm(QWidget* owner, CalcEngine& engine, const TOption& option, const TCalcStatus& status,
           std::size_t editIndex, const QString& editCaption);

    std::size_t EditIndex() const { return editIndex_; }

    QLineEdit* NumEdit = nullptr;
    QPushButton* OK = nullptr;
    QComboBox* OpeEdit = nullptr;

    // OK: an empty number becomes "0"; the entry is written back and the dialog closes.
    void OKClick();

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    void NumEditChange(const QString& text);
    void OpeEditChange(const QString& text);
    bool FormKeyDown(QObject* watched, QKeyEvent* e);
    bool EditKeyPress(QObject* watched, QKeyEvent* e);
    void SetOpeText(const QString& text);
    QString StoredGlyph() const;
    bool AcceptsCharacters(const QString& text) const;
    QString RefusalMessage() const;

    enum class Kind { Number, Time, Date };

    CalcEngine& engine_;
    const TOption& option_;
    const TCalcStatus& status_;
    std::size_t editIndex_;
    std::string storedNumber_; // the entry as it was when the dialog opened
    QString storedText_;       // and as the field shows it
    Kind kind_ = Kind::Number;
    char storedOpe_ = 0;
    bool restoring_ = false;
    bool translating_ = false;
};

} // namespace bansho
