#pragma once
// The history window (`HForm`): the receipt as a list of aligned rows, docked against the
// main window, with the correction-mode lamp and six buttons beside it in the input receipt.
// The rows belong to the engine, which reports every change to this window (ReceiptObserver);
// the window mirrors them through a thin model, keeps the selection, and changes the lists
// only through the engine's history operations.
#include "HistoryLink.h"
#include "ReceiptObserver.h"
#include "ReceiptPrinter.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <array>
#include <cstddef>

class QPushButton;

namespace bansho {

class CalcEngine;
struct TOption;
struct TCalcStatus;
struct WindowOptions;
struct HistoryWindowState;

class TMForm;
class ReceiptListView;
class ReceiptListModel;
class TStatusLED;

class THForm : public QWidget, public HistoryLink, public ReceiptObserver {
    Q_OBJECT
public:
    // What the window asks of the entry edit dialog.
    static const QString kEditCorrect; // "訂正"
    static const QString kEditInsert;  // "挿入"

    // Creation (FormCreate): hints, colours, the height and visibility from the main window's
    // HistoryState(), docking. Registers itself with the main window and, as the receipt's
    // observer, with its engine, and unregisters when destroyed; the main window must
    // outlive it.
    explicit THForm(TMForm& main);
    ~THForm() override;

    // ---- HistoryLink ----
    QWidget* Window() override { return this; }
    void ShowHistory() override;
    void HistoryKey(HistoryAction action) override;
    // The window does not follow the main window, except once at start: docked while the main
    // window was not yet on the screen, it docks again when the main window has its place.
    void MainGeometryChanged() override;

    // ---- ReceiptObserver: the engine's rows and the lamp ----
    void RowAppended(std::size_t index) override;
    void RowSelected(std::size_t index) override;
    void RowReplaced(std::size_t index) override;
    void RowInserted(std::size_t index) override;
    void RowRemoved(std::size_t index) override;
    void RowsSwapped(std::size_t i, std::size_t j) override;
    void HistoryCleared() override;
    void RowsReset() override;
    void LampOn() override;
    void LampOff() override;

    // Docking, side panel, button sizes and fonts, lamp position, title. Runs at every
    // activation; the customization dialog runs it after OK.
    void FormActivate() override;
    // Colours, then the activation layout.
    void ApplySettings() override;
    void SetListColors(ColorValue background, ColorValue text) override;
    void SetButtonHints(bool on) override; // tool tips of the side panel
    // List background HPanel, text HNumber, from the program's colours.
    void ApplyColors();

    // ---- Layout ----
    void DrawForm();   // docking against the main window
    void FormResize(); // the size rule

    // ---- Keys and clicks ----
    // Every key pressed while the window is active (as a Windows key code with modifiers);
    // `repeat`: the key is held down and this press only repeats it; `typed`: the character
    // the key types (0 when none is known).
    void FormKeyDown(int code, ShiftState shift, bool repeat = false, char32_t typed = 0);
    // The window's own operation for a key.
    void RunHistoryAction(HistoryAction action);
    void HistWinClick(int row);

    // ---- Operations ----
    bool EnterCorrectionMode(); // false when a text that is not a number stopped it
    void RecalcHistory();
    void RecallSelected();  // Enter
    void OpenEntryEditor(); // the edit dialog for the selected row, then re-total
    void CorrectSelected(); // Space, btCorrect
    void InsertSelected();  // Insert, btInsert
    void DeleteSelected();  // Delete, btDelete
    void MoveUp();          // Shift+Up, btListUp
    void MoveDown();        // Shift+Down, btListDown
    void SelectPrevious();  // Up
    void SelectNext();      // Down
    void CopySelected();    // btToClip
    // Command 印刷: the print dialog, then the receipt on paper (nothing without rows).
    void PrintReceipt() override;
    // Command プレビュー: the print preview window (nothing without rows).
    void PreviewReceipt() override;
    // What is printed: the kind, now, the rows as shown, and the input receipt's total.
    ReceiptPrinter::Receipt ReceiptForPrint() const;

    void btCorrectClick() { CorrectSelected(); }
    void btInsertClick() { InsertSelected(); }
    void btDeleteClick() { DeleteSelected(); }
    void btListUpClick() { MoveUp(); }
    void btListDownClick() { MoveDown(); }
    void btToClipClick() { CopySelected(); }

    // ---- State ----
    int SelectedRow() const;
    void SelectRow(int row); // -1 or out of range: no selection
    QString EditCaption() const { return editCaption_; }
    int ListFontHeight() const { return listFontHeight_; }
    ReceiptListModel& Model() { return *model_; }
    TMForm& MainForm() { return main_; }

    // ---- Components (named as the window knows them) ----
    ReceiptListView* HistWin = nullptr;
    QWidget* btBase = nullptr;
    QWidget* LedBase = nullptr;
    TStatusLED* LED = nullptr;
    QPushButton* btCorrect = nullptr;
    QPushButton* btInsert = nullptr;
    QPushButton* btDelete = nullptr;
    QPushButton* btListUp = nullptr;
    QPushButton* btListDown = nullptr;
    QPushButton* btToClip = nullptr;

protected:
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void moveEvent(QMoveEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void BuildComponents();
    void RunPrint(bool preview);
    void FormCreate();
    void PlaceChildren();
    void HandleKeyEvent(QKeyEvent* e);
    void TabKey();
    void BringMainToFront();
    void ApplyPendingHeight();
    QMargins FrameMargins() const;
    std::array<QPushButton*, 6> Buttons() const;

    TMForm& main_;
    CalcEngine& engine_;
    TOption& option_;
    TCalcStatus& status_;
    WindowOptions& winOptions_;
    HistoryWindowState& historyState_;
    ReceiptListModel* model_ = nullptr;
    QString editCaption_;
    int listFontHeight_ = 13;
    int sidePanelWidth_ = 72;
    bool inResize_ = false;
    // The outer height asked for at creation, applied once the frame is known (a window
    // manager adds its frame only after the window is shown).
    int pendingOuterHeight_ = 0;
    bool dockedToHiddenMain_ = false;
};

} // namespace bansho
