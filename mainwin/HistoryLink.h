#pragma once
// What the main window needs of the history window. The history window implements this and
// registers itself with TMForm::SetHistoryWindow; until one is registered the main window
// runs without it (Tab and command 28 do nothing). The rows and the lamp do not pass through
// here: the engine tells the history window of them directly (ReceiptObserver).
#include "KeyRouting.h"
#include "Options.h"

class QWidget;

namespace bansho {

class HistoryLink {
public:
    virtual ~HistoryLink() = default;

    // The history window's top-level widget (opacity, stay-on-top, activation, visibility).
    virtual QWidget* Window() = 0;

    // Command 28 (ＨＲ): make the window visible and bring it to the front. The main window
    // takes the focus back afterwards.
    virtual void ShowHistory() = 0;

    // Command 印刷: print the receipt through the print dialog.
    virtual void PrintReceipt() {}
    // Command プレビュー: the receipt in the print preview window, from which it may be printed.
    virtual void PreviewReceipt() {}

    // A key of the history window's own (Space, Up, Down, Insert, Delete) that reached the
    // main window's key handler while the history window is active; the key routing has
    // decided what it does there.
    virtual void HistoryKey(HistoryAction action) = 0;

    // The main window was moved or resized (commands, dragging, the layout rule).
    virtual void MainGeometryChanged() {}

    // The customization dialog changed colours or options: re-apply them (colours, then the
    // activation layout: docking, side panel, title).
    virtual void ApplySettings() {}

    // ---- What the customization dialog changes (it applies these at once) ----
    // Background and text colour of the list (the HPanel and HNumber colours).
    virtual void SetListColors(ColorValue background, ColorValue text) {
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
