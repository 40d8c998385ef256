#include "PopupMenus.h"

#include <QAction>
#include <QMenu>
#include <QString>

namespace bansho {

const std::vector<PopupMenuDef>& PopupMenuDefs() {
    static const std::vector<PopupMenuDef> defs = {
        {200, "EMenu", {{"切り取り", 40}, {"コピー", 41}, {"貼り付け", 42}}},
        {201,
         "NMenu",
         {{"繰り下げクリア (→)", 35}, {"入力クリア (Ｃ)", 25}, {"オールクリア (ＡＣ)", 24}}},
        {202,
         "MMenu",
         {{"メモリ加算 (Ｍ＋)", 30},
          {"メモリ減算 (Ｍ－)", 31},
          {"メモリ呼出し (ＭＲ)", 32},
          {"メモリ入替え (ＭＲＶ)", 33},
          {"メモリクリア (ＭＣ)", 29}}},
        {203,
         "HMenu",
         {{"ヒストリーセット (ＨＳ)", 27},
          {"ヒストリー呼出し (ＨＲ)", 28},
          {"ヒストリークリア (ＨＣ)", 26},
          {"印刷", 54}}},
        {204,
         "SMenu",
         {{"プラマイ反転 (＋/－)", 23},
          {"パーセント (％)", 22},
          {"グランドトータル (ＧＴ)", 34},
          {"００ 入力", 36},
          {"０００ 入力", 37}}},
        {205, "VMenu", {{"拡大", 88}, {"縮小", 89}, {"高速拡大", 90}, {"高速縮小", 91}}},
    };
    return defs;
}

const PopupMenuDef* FindPopupMenu(int command) {
    for (const auto& d : PopupMenuDefs())
        if (d.command == command) return &d;
    return nullptr;
}

QMenu* BuildPopupMenu(const PopupMenuDef& def, QWidget* parent) {
    auto* menu = new QMenu(parent);
    menu->setObjectName(QString::fromStdString(def.name));
    for (const auto& item : def.items) {
        // A plain caption: '&' has no meaning here and the captions carry none.
        QAction* a = menu->addAction(QString::fromStdString(item.caption));
        a->setData(item.tag);
    }
    return menu;
}

} // namespace bansho
