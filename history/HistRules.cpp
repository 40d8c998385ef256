#include "HistRules.h"

#include <algorithm>
#include <cstdlib>

namespace bansho {

int HistRowHeight(int displayFontHeight) {
    const int h = std::abs(displayFontHeight) / 3;
    return std::clamp(h, kHistMinRowHeight, kHistMaxRowHeight);
}

int FitListFontHeight(int fontHeight, int rowHeight) {
    if (fontHeight < rowHeight) fontHeight = rowHeight + 1;
    if (fontHeight > rowHeight) fontHeight = rowHeight - 1;
    return fontHeight;
}

QRect DockedRect(const QRect& mainFrame, int histHeight, bool upper) {
    const int top =
        upper ? mainFrame.top() - histHeight - 1 : mainFrame.top() + mainFrame.height() + 1;
    return QRect(mainFrame.left(), top, mainFrame.width(), histHeight);
}

QSize ClampHistSize(QSize outer, int mainWidth) {
    return QSize(std::max(outer.width(), mainWidth), std::max(outer.height(), kHistMinHeight));
}

int LedLeft(int panelWidth, int ledWidth) {
    return (panelWidth - ledWidth) / 2 + 1;
}

QString ReceiptTitle(int histSet) {
    switch (histSet) {
    case 0:
        return QStringLiteral(" ユーザーメモ");
    case 1:
        return QStringLiteral(" 計算レシート");
    case 2:
        return QStringLiteral(" 入力レシート");
    default:
        return {};
    }
}

QString InitialHistTitle() {
    return QStringLiteral(" ヒストリー");
}

} // namespace bansho
