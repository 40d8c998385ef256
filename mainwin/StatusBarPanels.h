#pragma once
// The main window's status bar: five sunken panels, 40/40/40/40 wide with centred text
// (GT, M, K, NUM) and a last, left-aligned panel for the history count.
#include <QWidget>
#include <array>

class QLabel;

namespace bansho {

class StatusBarPanels : public QWidget {
public:
    static constexpr int kPanelCount = 5;
    static constexpr std::array<int, kPanelCount> kPanelWidths = {40, 40, 40, 40, 50};

    explicit StatusBarPanels(QWidget* parent = nullptr);

    void SetPanelText(int index, const QString& text);
    QString PanelText(int index) const;
    QLabel* Panel(int index) const { return panels_.at(index); }

    // The decimal selector's mark ("0 切捨"): its own panel at the right end, shown only while
    // it has a text; the count panel then ends where it begins.
    void SetSelectorText(const QString& text);
    QLabel* SelectorPanel() const { return selector_; }
    // The bill's item count ("件数 12"): its own panel left of the selector's, shown only
    // while it has a text.
    void SetItemsText(const QString& text);
    QLabel* ItemsPanel() const { return items_; }

    // The font height follows the bar height (bar height less 8).
    void SetBarHeight(int height);

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    void LayoutPanels();
    std::array<QLabel*, kPanelCount> panels_{};
    QLabel* selector_ = nullptr;
    QLabel* items_ = nullptr;
};

} // namespace bansho
