#include "PopupMenus.h"

#include <QAction>
#include <QMenu>
#include <QString>

namespace bansho {

const std::vector<PopupMenuDef>& PopupMenuDefs() {
    static const std::vector<PopupMenuDef> defs = {
        {Command::EditMenu, "EMenu", {{"切り取り", Command::Cut}, {"コピー", Command::Copy}, {"貼り付け", Command::Paste}}},
        {Command::ClearMenu,
         "NMenu",
         {{"繰り下げクリア (→)", Command::ShiftRight}, {"入力クリア (Ｃ)", Command::ClearEntry}, {"オールクリア (ＡＣ)", Command::AllClear}}},
        {Command::MemoryMenu,
         "MMenu",
         {{"メモリ加算 (Ｍ＋)", Command::MemoryAdd},
          {"メモリ減算 (Ｍ－)", Command::MemorySubtract},
          {"メモリ呼出し (ＭＲ)", Command::MemoryRecall},
          {"メモリ入替え (ＭＲＶ)", Command::MemorySwap},
          {"メモリクリア (ＭＣ)", Command::MemoryClear}}},
        {Command::HistoryMenu,
         "HMenu",
         {{"ヒストリーセット (ＨＳ)", Command::HistoryStore},
          {"ヒストリー呼出し (ＨＲ)", Command::HistoryShow},
          {"ヒストリークリア (ＨＣ)", Command::HistoryClear},
          {"元に戻す (最後のクリア)", Command::UndoClear},
          {"残したレシートを消去...", Command::None, kClearKeptAction},
          {"印刷", Command::PrintReceipt},
          {"印刷プレビュー", Command::PrintPreview}}},
        {Command::EntryMenu,
         "SMenu",
         {{"プラマイ反転 (＋/－)", Command::ChangeSign},
          {"パーセント (％)", Command::Percent},
          {"グランドトータル (ＧＴ)", Command::GrandTotal},
          {"００ 入力", Command::DoubleZero},
          {"０００ 入力", Command::TripleZero},
          {"小数点以下桁数 (F→0→…→4)", Command::DecimalSelector},
          {"端数処理 (切捨→四捨五入→切上)", Command::RoundingSelector},
          {"税込み 税率２", Command::TaxIncluded2},
          {"税抜き 税率２", Command::TaxExcluded2},
          {"税計算合計 (税率別)", Command::TaxTotal},
          {"原価", Command::CostPrice},
          {"売価", Command::SellPrice},
          {"粗利率", Command::MarginRate},
          {"件数", Command::ItemCount},
          {"換算", Command::ConvertRate},
          {"時間 (時・分・秒)", Command::TimeKey},
          {"日付 (日数計算)", Command::DateKey},
          {"両端入れ (日数＋１)", Command::BothEnds},
          {"検算", Command::ReKeyCheck}}},
        {Command::ZoomMenu, "VMenu", {{"拡大", Command::ZoomInDot}, {"縮小", Command::ZoomOutDot}, {"高速拡大", Command::ZoomInFast}, {"高速縮小", Command::ZoomOutFast}}},
    };
    return defs;
}

const PopupMenuDef* FindPopupMenu(int command) {
    for (const auto& d : PopupMenuDefs())
        if (CommandNumber(d.command) == command) return &d;
    return nullptr;
}

QMenu* BuildPopupMenu(const PopupMenuDef& def, QWidget* parent) {
    auto* menu = new QMenu(parent);
    menu->setObjectName(QString::fromStdString(def.name));
    for (const auto& item : def.items) {
        // A plain caption: '&' has no meaning here and the captions carry none.
        QAction* a = menu->addAction(QString::fromStdString(item.caption));
        a->setData(CommandNumber(item.tag));
        if (item.action) a->setObjectName(QString::fromLatin1(item.action));
    }
    return menu;
}

void ShowSelections(QMenu& menu, int decimals, int rule) {
    static const char* const kRules[] = {"切捨", "四捨五入", "切上"};
    for (QAction* a : menu.actions()) {
        const int tag = a->data().toInt();
        QString value;
        if (tag == CommandNumber(Command::DecimalSelector))
            value = decimals >= 0 && decimals <= 4 ? QString::number(decimals) : QStringLiteral("F");
        else if (tag == CommandNumber(Command::RoundingSelector))
            value = QString::fromUtf8(kRules[rule >= 0 && rule <= 2 ? rule : 0]);
        else
            continue;
        for (const auto& def : PopupMenuDefs())
            for (const auto& item : def.items)
                if (CommandNumber(item.tag) == tag)
                    a->setText(QString::fromStdString(item.caption) + QStringLiteral("　現在: ") + value);
    }
}

} // namespace bansho
