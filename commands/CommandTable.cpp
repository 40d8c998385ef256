#include "CommandTable.h"

#include "Sjis.h"

namespace {

struct BuiltIn {
    int No;
    const char* Caption;
    const char* Description;
};

constexpr BuiltIn kBuiltIn[] = {
    {0, "０", "０入力"},
    {1, "１", "１入力"},
    {2, "２", "２入力"},
    {3, "３", "３入力"},
    {4, "４", "４入力"},
    {5, "５", "５入力"},
    {6, "６", "６入力"},
    {7, "７", "７入力"},
    {8, "８", "８入力"},
    {9, "９", "９入力"},
    {16, "．", "コンマ入力"},
    {17, "＋", "＋計算"},
    {18, "－", "－計算"},
    {19, "×", "×計算"},
    {20, "÷", "÷計算"},
    {21, "＝", "＝入力"},
    {22, "％", "％計算"},
    {23, "＋/－", "プラマイ反転"},
    {24, "ＡＣ", "オールクリア"},
    {25, "Ｃ", "クリア"},
    {26, "ＨＣ", "履歴クリア"},
    {27, "ＨＳ", "履歴に格納"},
    {28, "ＨＲ", "履歴を呼出し"},
    {29, "ＭＣ", "メモリクリア"},
    {30, "Ｍ＋", "メモリに加算"},
    {31, "Ｍ－", "メモリから減算"},
    {32, "ＭＲ", "メモリを呼出し"},
    {33, "ＭＲＶ", "表示数値とメモリ数値を入替"},
    {34, "ＧＴ", "グランドトータル呼出し"},
    {35, "→", "繰り下げクリア"},
    {36, "００", "００入力"},
    {37, "０００", "０００入力"},
    {38, "税込み", "税込み金額表示"},
    {39, "税抜き", "税抜き金額表示"},
    {40, "切取り", "クリップボードへ転送"},
    {41, "コピー", "クリップボードへコピー"},
    {42, "貼付け", "クリップボードから貼付け"},
    {50, "↑↓", "ファンクション切替"},
    {51, "ＮＵＭ", "NUM キーモードの一時的変更"},
    {52, "表示", "ステータスバー表示切替"},
    {54, "印刷", "レシートの印刷"},
    {88, "拡大", "ウインドー１ドットズーム拡大"},
    {89, "縮小", "ウインドー１ドットズーム縮小"},
    {90, "拡大", "ウインドー高速ズーム拡大"},
    {91, "縮小", "ウインドー高速ズーム縮小"},
    {92, "左移動", "ウインドー１ドット←移動"},
    {93, "右移動", "ウインドー１ドット→移動"},
    {94, "上移動", "ウインドー１ドット↑移動"},
    {95, "下移動", "ウインドー１ドット↓移動"},
    {96, "左移動", "ウインドー高速←移動"},
    {97, "右移動", "ウインドー高速→移動"},
    {98, "上移動", "ウインドー高速↑移動"},
    {99, "下移動", "ウインドー高速↓移動"},
    {100, "最小化", "バンショの最小化"},
    {150, "情報", "バージョン情報の表示"},
    {151, "環境", "環境設定パネル"},
    {200, "転写", "転写メニュー"},
    {201, "クリア", "クリアメニュー"},
    {202, "メモリ", "メモリメニュー"},
    {203, "履歴", "履歴メニュー"},
    {204, "補助", "入力補助メニュー"},
    {205, "ズーム", "拡大縮小メニュー"},
    {254, "終了", "バンショの終了"},
    {255, "****", "<< 未定義 >>"},
};

std::string ThreeDigits(int n) {
    std::string s = std::to_string(n);
    while (s.size() < 3)
        s.insert(s.begin(), '0');
    return s;
}

} // namespace

void FillCommandTable(TCommandTable& table) {
    for (auto& r : table)
        r = CommandRecord{};
    for (const auto& b : kBuiltIn) {
        auto& r = table[static_cast<std::size_t>(b.No)];
        r.Code = sjis::Truncate(ThreeDigits(b.No), kCodeMaxBytes);
        r.Caption = sjis::Truncate(b.Caption, kCaptionMaxBytes);
        r.Description = sjis::Truncate(b.Description, kDescriptionMaxBytes);
    }
}

const TCommandTable& CommandTable() {
    static const TCommandTable table = [] {
        TCommandTable t;
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
