#pragma once
// What the main window needs of the history window. The history window implements this and
// registers itself with TMForm::SetHistoryWindow; until one is registered the main window
// runs without it (no rows are mirrored, Tab and command 28 do nothing).
#include "KeyRouting.h"
#include "Options.h"

#include <cstddef>

class QWidget;

namespace bansho {

class THistoryLink {
public:
    virtual ~THistoryLink() = default;

    // The history window's top-level widget (opacity, stay-on-top, activation, visibility).
    virtual QWidget* Window() = 0;

    // Command 28 (ＨＲ): make the window visible and bring it to the front. The main window
    // takes the focus back afterwards.
    virtual void ShowHistory() = 0;

    // Command 印刷: print the receipt through the print dialog.
    virtual void PrintReceipt() {}

    // Space, Up, Down, Insert or Delete pressed while the history window is active, handed
    // on by the main window's key routing (code after NUM-key translation).
    virtual void HistKeyDown(int code, TShiftState shift) = 0;

    // The main window was moved or resized (commands, dragging, the layout rule).
    virtual void MainGeometryChanged() {}

    // The customization dialog changed colours or options: re-apply them (colours, then the
    // activation layout: docking, side panel, title).
    virtual void ApplySettings() {}

    // Mirror of the engine's history lists; indices are rows, already changed in the engine
    // (read the texts from CalcEngine::HistRows()).
    virtual void RowAppended(std::size_t index) = 0; // append and select
    virtual void RowReplaced(std::size_t index) = 0;
    virtual void RowInserted(std::size_t index) = 0;
    virtual void RowRemoved(std::size_t index) = 0;
    virtual void RowsSwapped(std::size_t i, std::size_t j) = 0;
    virtual void HistoryCleared() = 0;

    // The correction-mode lamp.
    virtual void LampOn() = 0;
    virtual void LampOff() = 0;

    // ---- What the customization dialog changes (it applies these at once) ----
    // Background and text colour of the list (the HPanel and HNumber colours).
    virtual void SetListColors(TColor background, TColor text) {
        (void)background;
        (void)text;
    }
    // The options may have changed (docking above or below, fonts, sizes): re-apply them
    // as when the window is activated.
    virtual void FormActivate() {}
    // Hints of the button bar on or off (the Hint option).
    virtual void SetButtonHints(bool on) { (void)on; }
};

} // namespace bansho
