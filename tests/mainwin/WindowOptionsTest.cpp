// What only the windows use (the window options and the history window's place) is kept by
// the main window's own save when it closes and found again by the next start.
#include "TMForm.h"
#include "TFuncKey.h"

#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

using namespace bansho;

namespace {

struct Row {
    const char* name;
    std::function<void(TMForm&)> set;
    std::string line; // as the file holds it
    std::function<bool(TMForm&)> holds;
};

const Row kRows[] = {
    {"MoveDot", [](TMForm& f) { f.WinOptions().MoveDot = 23; }, "\r\nMoveDot=23\r\n",
     [](TMForm& f) { return f.WinOptions().MoveDot == 23; }},
    {"FuncType", [](TMForm& f) { f.WinOptions().FuncType = 10; }, "[FUNCTION]\r\nFuncType=10\r\n",
     [](TMForm& f) { return f.WinOptions().FuncType == 10 && f.FKey->KeyCount() == 10; }},
    {"Cycle", [](TMForm& f) { f.WinOptions().Cycle = false; }, "\r\nCycle=0\r\n",
     [](TMForm& f) { return !f.WinOptions().Cycle; }},
    {"Upper", [](TMForm& f) { f.WinOptions().Upper = true; }, "\r\nUpper=1\r\n",
     [](TMForm& f) { return f.WinOptions().Upper; }},
    {"StayHist", [](TMForm& f) { f.WinOptions().StayHist = false; }, "\r\nStayHist=0\r\n",
     [](TMForm& f) { return !f.WinOptions().StayHist; }},
    {"Hint", [](TMForm& f) { f.WinOptions().Hint = false; }, "\r\nHint=0\r\n",
     [](TMForm& f) { return !f.WinOptions().Hint; }},
    {"SmallFont", [](TMForm& f) { f.WinOptions().SmallFont = true; }, "\r\nSmallFont=1\r\n",
     [](TMForm& f) { return f.WinOptions().SmallFont; }},
    {"Margin", [](TMForm& f) { f.WinOptions().Margin = true; }, "\r\nMargin=1\r\n",
     [](TMForm& f) { return f.WinOptions().Margin; }},
    {"AlphaBlendType", [](TMForm& f) { f.WinOptions().AlphaBlendType = 0; },
     "\r\nAlphaBlendType=0\r\n", [](TMForm& f) { return f.WinOptions().AlphaBlendType == 0; }},
    {"AlphaBlendValue", [](TMForm& f) { f.WinOptions().AlphaBlendValue = 77; },
     "\r\nAlphaBlendValue=77\r\n", [](TMForm& f) { return f.WinOptions().AlphaBlendValue == 77; }},
    {"printer_and_paper",
     [](TMForm& f) {
         f.WinOptions().Printer = "receipt-80";
         f.WinOptions().PrintPaper = "80x297mm";
     },
     "[PRINT]\r\nPrinter=receipt-80\r\nPaper=80x297mm\r\n",
     [](TMForm& f) {
         return f.WinOptions().Printer == "receipt-80" && f.WinOptions().PrintPaper == "80x297mm";
     }},
    {"history_hidden", [](TMForm& f) { f.HistoryState().Visible = false; },
     "[HISTWIN]\r\nHForm=0\r\n", [](TMForm& f) { return !f.HistoryState().Visible; }},
    {"history_height", [](TMForm& f) { f.HistoryState().Height = 333; }, "\r\nHeight=333\r\n",
     [](TMForm& f) { return f.HistoryState().Height == 333; }},
};

std::string ReadAll(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(WindowOptions, SurviveTheCloseAndTheNextStart) {
    for (const Row& r : kRows) {
        SCOPED_TRACE(r.name);
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        const auto env = std::filesystem::path(dir.path().toStdString()) / "bansho.ENV";
        {
            TMForm f(env);
            f.show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
            EXPECT_FALSE(r.holds(f)); // a first run has another value
            r.set(f);
            EXPECT_TRUE(f.close());
        }
        const std::string saved = ReadAll(env);
        EXPECT_NE(saved.find(r.line), std::string::npos) << saved;
        TMForm again(env);
        EXPECT_TRUE(r.holds(again));
    }
}

} // namespace
