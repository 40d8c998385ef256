#include "CommandTable.h"

#include "Sjis.h"

namespace bansho {

namespace {

struct BuiltIn {
    Command No;
    const char* Caption;
    const char* Description;
};

constexpr BuiltIn kBuiltIn[] = {
    {Command::Digit0, "０", "０入力"},
    {Command::Digit1, "１", "１入力"},
    {Command::Digit2, "２", "２入力"},
    {Command::Digit3, "３", "３入力"},
    {Command::Digit4, "４", "４入力"},
    {Command::Digit5, "５", "５入力"},
    {Command::Digit6, "６", "６入力"},
    {Command::Digit7, "７", "７入力"},
    {Command::Digit8, "８", "８入力"},
    {Command::Digit9, "９", "９入力"},
    {Command::Point, "．", "コンマ入力"},
    {Command::Add, "＋", "＋計算"},
    {Command::Subtract, "－", "－計算"},
    {Command::Multiply, "×", "×計算"},
    {Command::Divide, "÷", "÷計算"},
    {Command::Equals, "＝", "＝入力"},
    {Command::Percent, "％", "％計算"},
    {Command::ChangeSign, "＋/－", "プラマイ反転"},
    {Command::AllClear, "ＡＣ", "オールクリア"},
    {Command::ClearEntry, "Ｃ", "クリア"},
    {Command::HistoryClear, "ＨＣ", "履歴クリア"},
    {Command::HistoryStore, "ＨＳ", "履歴に格納"},
    {Command::HistoryShow, "ＨＲ", "履歴を呼出し"},
    {Command::MemoryClear, "ＭＣ", "メモリクリア"},
    {Command::MemoryAdd, "Ｍ＋", "メモリに加算"},
    {Command::MemorySubtract, "Ｍ－", "メモリから減算"},
    {Command::MemoryRecall, "ＭＲ", "メモリを呼出し"},
    {Command::MemorySwap, "ＭＲＶ", "表示数値とメモリ数値を入替"},
    {Command::GrandTotal, "ＧＴ", "グランドトータル呼出し"},
    {Command::ShiftRight, "→", "繰り下げクリア"},
    {Command::DoubleZero, "００", "００入力"},
    {Command::TripleZero, "０００", "０００入力"},
    {Command::TaxIncluded, "税込み", "税込み金額表示"},
    {Command::TaxExcluded, "税抜き", "税抜き金額表示"},
    {Command::Cut, "切取り", "クリップボードへ転送"},
    {Command::Copy, "コピー", "クリップボードへコピー"},
    {Command::Paste, "貼付け", "クリップボードから貼付け"},
    {Command::DecimalSelector, "小数", "小数点以下桁数の切替"},
    {Command::RoundingSelector, "端数", "端数処理の切替"},
    {Command::TaxIncluded2, "税込み２", "税率２の税込み金額表示"},
    {Command::TaxExcluded2, "税抜き２", "税率２の税抜き金額表示"},
    {Command::TaxTotal, "税合計", "税計算合計 (税率別)"},
    {Command::NextFuncSet, "↑↓", "ファンクション切替"},
    {Command::ToggleNumKey, "ＮＵＭ", "NUM キーモードの一時的変更"},
    {Command::ToggleStatusBar, "表示", "ステータスバー表示切替"},
    {Command::PrintPreview, "プレビュー", "レシートの印刷プレビュー"},
    {Command::PrintReceipt, "印刷", "レシートの印刷"},
    {Command::ZoomInDot, "拡大", "ウインドー１ドットズーム拡大"},
    {Command::ZoomOutDot, "縮小", "ウインドー１ドットズーム縮小"},
    {Command::ZoomInFast, "拡大", "ウインドー高速ズーム拡大"},
    {Command::ZoomOutFast, "縮小", "ウインドー高速ズーム縮小"},
    {Command::MoveLeftDot, "左移動", "ウインドー１ドット←移動"},
    {Command::MoveRightDot, "右移動", "ウインドー１ドット→移動"},
    {Command::MoveUpDot, "上移動", "ウインドー１ドット↑移動"},
    {Command::MoveDownDot, "下移動", "ウインドー１ドット↓移動"},
    {Command::MoveLeftFast, "左移動", "ウインドー高速←移動"},
    {Command::MoveRightFast, "右移動", "ウインドー高速→移動"},
    {Command::MoveUpFast, "上移動", "ウインドー高速↑移動"},
    {Command::MoveDownFast, "下移動", "ウインドー高速↓移動"},
    {Command::Minimize, "最小化", "バンショの最小化"},
    {Command::About, "情報", "バージョン情報の表示"},
    {Command::Customize, "環境", "環境設定パネル"},
    {Command::EditMenu, "転写", "転写メニュー"},
    {Command::ClearMenu, "クリア", "クリアメニュー"},
    {Command::MemoryMenu, "メモリ", "メモリメニュー"},
    {Command::HistoryMenu, "履歴", "履歴メニュー"},
    {Command::EntryMenu, "補助", "入力補助メニュー"},
    {Command::ZoomMenu, "ズーム", "拡大縮小メニュー"},
    {Command::Quit, "終了", "バンショの終了"},
    {Command::CostPrice, "原価", "原価の記憶・計算"},
    {Command::SellPrice, "売価", "売価の記憶・計算"},
    {Command::MarginRate, "粗利率", "粗利率の記憶・計算"},
    {Command::ItemCount, "件数", "件数の表示"},
    {Command::ConvertRate, "換算", "換算レートで換算"},
    {Command::TimeKey, "時間", "時・分・秒の入力と時間換算"},
    {Command::DateKey, "日付", "日付入力（日数計算）"},
    {Command::BothEnds, "両端", "日数計算の両端入れ切替"},
    {Command::ReKeyCheck, "検算", "再入力による検算"},
    {Command::UndoClear, "元に戻す", "最後のクリアを元に戻す"},
    {Command::None, "****", "<< 未定義 >>"},
};

std::string ThreeDigits(int n) {
    std::string s = std::to_string(n);
    while (s.size() < 3)
        s.insert(s.begin(), '0');
    return s;
}

} // namespace

void FillCommandTable(CommandTableArray& table) {
    for (auto& r : table)
        r = CommandRecord{};
    for (const auto& b : kBuiltIn) {
        auto& r = table[static_cast<std::size_t>(CommandNumber(b.No))];
        r.Code = sjis::Truncate(ThreeDigits(CommandNumber(b.No)), kCodeMaxBytes);
        r.Caption = sjis::Truncate(b.Caption, kCaptionMaxBytes);
        r.Description = sjis::Truncate(b.Description, kDescriptionMaxBytes);
    }
}

const CommandTableArray& CommandTable() {
    static const CommandTableArray table = [] {
        CommandTableArray t;
        FillCommandTable(t);
        return t;
    }();
    return table;
}

const CommandRecord& CommandOf(int command) {
    static const CommandRecord empty;
    if (command < 0 || command >= kCommandCount) return empty;
    return CommandTable()[static_cast<std::size_t>(command)];
}

} // namespace bansho
