#pragma once
// The main window: a wide, low window whose centre is one large right-aligned number, with
// the indicator marks beside it, the function-key bar below and the status bar at the bottom.
// It owns the program's state (options, window options, colours, key configuration, the
// engine) and turns keys, function-key clicks and popup-menu choices into command numbers.
#include "CalcEngine.h"
#include "KeyConfig.h"
#include "KeyRouting.h"
#include "LayoutRule.h"
#include "NumberDisplay.h"
#include "DisplayColors.h"
#include "Options.h"
#include "WindowOptions.h"

#include <QFont>
#include <QWidget>

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <memory>

class QFrame;
class QLabel;
class QMenu;

namespace bansho {

struct SaveResult;

class TFuncKey;
class FunctionKeyButton;
class HistoryLink;
class MainWindowHost;
class StatusBarPanels;

class TMForm : public QWidget {
    Q_OBJECT
public:
    // Title bar text and the program's own title.
    static const QString kWindowTitle;  // " バンショ  ver 3.22"
    static const QString kProgramTitle; // " バンショ v3.22"
    static constexpr int kDesignLeft = 455;
    static constexpr int kDesignTop = 119;

    // Runs the start-up sequence (FormCreate). `envFile` overrides where the settings file
    // is looked for (tests); empty means the usual place beside the executable.
    explicit TMForm(const std::filesystem::path& envFile = {}, QWidget* parent = nullptr);
    ~TMForm() override;

    // ---- Program state, shared with the history window and the dialogs ----
    TOption& Option() { return option_; }
    DisplayColorSet& DisplayColors() { return colors_; }
    TCalcStatus& Status() { return status_; }
    WindowOptions& WinOptions() { return winOptions_; }
    HistoryWindowState& HistoryState() { return historyState_; }
    KeyConfig& Keys() { return keys_; }
    CalcEngine& Engine() { return *engine_; }

    // ---- Entry points that produce command numbers ----
    void ExecCommand(int command);
    // The key-down handler; the history window hands on the keys it does not use itself.
    // `repeat`: the key is held down and this press only repeats it; `typed`: the character
    // the key types (0 when none is known).
    void FormKeyDown(int code, ShiftState shift, bool repeat = false, char32_t typed = 0);
    void FKeyClick(FunctionKeyButton* sender, int key);

    // ---- Seams for the history window and the customization dialog ----
    void SetHistoryWindow(HistoryLink* link);
    HistoryLink* HistoryWindow() const { return history_; }
    // Command 151 runs this with the main window as owner; when it returns the marks are
    // refreshed and the current function-key set is put on the bar again. Unset, command
    // 151 does nothing.
    using CustomizeDialog = std::function<void(TMForm&)>;
    void SetCustomizeDialog(CustomizeDialog dialog) { customize_ = std::move(dialog); }
    // What a menu item that is no command runs (PopupMenus.h, MenuItemDef::action).
    void SetMenuAction(const std::string& name, std::function<void()> run) {
        menuActions_[name] = std::move(run);
    }
    // The kept receipt's part of the customization dialog: whether the receipt is kept, and why
    // not while the option is on. Unset: the option is shown as it is stored.
    struct KeepingLink {
        std::function<std::string()> Problem; // empty while kept or while the option is off
        std::function<void()> OptionChanged;  // after OK changed KeepReceipt
    };
    void SetKeepingLink(KeepingLink link) { keeping_ = std::move(link); }
    const KeepingLink& Keeping() const { return keeping_; }

    // ---- Things the dialogs re-apply after they change settings ----
    void FormResize(); // the layout rule for the current width
    void SetMarkColors();
    void ApplyFuncSet();
    void RefreshMarks();
    // Display font face and style bits (1 bold, 2 italic, 4 underline, 8 strike-out); the
    // layout rule then fits its size.
    void SetDisplayFont(const QString& face, int styleBits);
    QString DisplayFontName() const { return displayFont_.family(); }
    int DisplayFontStyle() const;
    // Pixel height of the display font (the history window's rows follow it).
    int DisplayFontHeight() const;
    // Style 0 normal, 3 always on top.
    bool StayOnTop() const { return stayOnTop_; }
    void SetStayOnTop(bool on);
    // Re-applies transparency and the style as when the program becomes active.
    void OnAppActivate();
    void OnAppDeactivate();
    // The program was started again: this copy comes to the front with its receipt, and the
    // dialog it shows, if any, gets the keyboard.
    void ComeForward();
    bool StatusBarVisible() const;
    // Width of one key of the function-key bar (the history window's side panel uses it).
    int FuncKeyWidth() const;
    // The last result of the layout rule.
    const LayoutResult& Layout() const { return layout_; }
    // Where the settings file lives (where it is saved to).
    const std::filesystem::path& EnvFile() const { return envFile_; }
    // Writes the settings as a close does, without any box (the session manager asks before
    // a logout). Returns whether the file now holds them.
    bool SaveSettingsQuietly();
    // The last save of the run, without any box, unless a close has saved already; a close
    // after it writes nothing more and asks nothing.
    void FinalSave();
    // The final save, then the end of the program without asking anything (SIGTERM).
    void SaveAndQuit();

    // ---- Window commands (reached through ExecCommand) ----
    void ToggleStatusBar();             // 52
    void ZoomWindow(int command);       // 88..91
    void MoveWindow(int command);       // 92..99
    void MinimizeProgram();             // 100
    void PopupCommandMenu(int command); // 200..205
    QMenu* CommandMenu(int command);

    // ---- Components (named as the window knows them) ----
    QFrame* WinBase = nullptr;
    QWidget* LPanel = nullptr;
    QWidget* CPanel = nullptr;
    QWidget* RPanel = nullptr;
    QLabel* TotMark = nullptr;
    QLabel* MemMark = nullptr;
    QLabel* KctMark = nullptr;
    QLabel* NumMark = nullptr;
    QLabel* OpeMark = nullptr;
    QLabel* SelMark = nullptr; // the decimal selector's mark while the status bar is hidden
    QLabel* ItemsMark = nullptr; // the item count while the status bar is hidden
    NumberDisplay* DNumber = nullptr;
    QWidget* FKBase = nullptr;
    TFuncKey* FKey = nullptr;
    QWidget* SBBase = nullptr;
    StatusBarPanels* SBar = nullptr;

    // The display model has changed: draw the number, the marks and the operator.
    // The NUM or tax label in the font the layout fitted for "NUM" and the rate-1 tax labels;
    // a longer label (a rate-2 amount "税込8%", a total of the tax bill "合計税込") is drawn
    // smaller, so that it too shows whole at every width.
    void FitNumMark();
    void RenderDisplay();

signals:
    // The main window's geometry changed (for anything docked to it).
    void GeometryChanged();

protected:
    bool event(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    // A colour of the number and the marks, drawn on the display panel.
    QColor NumberColour(ColorValue value) const;
    void resizeEvent(QResizeEvent* e) override;
    void moveEvent(QMoveEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    friend class MainWindowHost;
    void FormCreate();
    void BuildComponents();
    void InitMainLayout();
    void LoadSettings();
    bool SaveSettings(bool quiet);
    SaveResult WriteSettings();
    void FormClose(QCloseEvent* e);
    void PlaceChildren();
    void FitOpeMark();
    void KeepOnScreen();
    void WindowCommand(unsigned command);
    void MenuItemSelect(QAction* action);
    void HandleTab();
    void FocusMain();
    void ApplyAlpha(bool transparent);
    QRect ScreenRect() const;

    TOption option_;
    DisplayColorSet colors_;
    TCalcStatus status_;
    WindowOptions winOptions_;      // made with the values in force before the file is read
    HistoryWindowState historyState_;
    KeyConfig keys_;
    std::unique_ptr<MainWindowHost> host_;
    std::unique_ptr<CalcEngine> engine_;

    std::filesystem::path envFile_;
    std::filesystem::path readFile_; // a preset beside the program, until the user has a file
    bool envFileUnreadable_ = false; // there but unreadable at start: never saved over
    bool settingsSaved_ = false;     // the close's save is done; nothing more to write
    bool terminating_ = false;       // ended by the system: close without a box
    HistoryLink* history_ = nullptr;
    CustomizeDialog customize_;
    std::map<std::string, std::function<void()>> menuActions_;
    KeepingLink keeping_;
    QFont displayFont_;
    LayoutResult layout_;
    int fkBaseHeight_ = 30;
    int sbBaseHeight_ = 21;
    bool stayOnTop_ = false;
    bool inResize_ = false;
    // The place and size of the window (without its frame) when it was last neither
    // maximised, full-screen nor minimised: what the settings keep.
    QRect plainGeometry_;
    void RememberPlainGeometry();
    bool opeFitPending_ = false; // the operator mark's font waits for a glyph to show
    QFont numFont_;              // the NUM label's font as the layout fitted it
    QString numFitText_;         // the label the NUM label's font was last fitted for
    bool historyWasVisible_ = false; // before the program was minimized
    std::array<QMenu*, 6> menus_{};
};

} // namespace bansho
