// The mixed bill typed as a user types it: key presses sent to the X server (xdotool, through
// the XTEST extension) reach the program's windows on the private Xvfb, and the display shows
// the bill's totals step by step.
#include "CalcEngine.h"
#include "TMForm.h"
#include "THForm.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using namespace bansho;

namespace {

// Presses the keys (xdotool's key names) on the X server, then lets the program take them.
bool Press(const QStringList& keys) {
    QProcess p;
    p.start(QStringLiteral("xdotool"), QStringList{QStringLiteral("key"), QStringLiteral("--delay"),
                                                   QStringLiteral("20")} + keys);
    return p.waitForFinished(30000) && p.exitCode() == 0;
}

QStringList Digits(const std::string& number) {
    QStringList keys;
    for (const char c : number)
        keys << QStringLiteral("KP_%1").arg(c);
    return keys;
}

struct Example {
    const char* name;
    // Items: the amount and the key that shows its tax (F11 税込み and F12 税抜き are rate 1 in
    // the factory set A; q and w were given commands 46 and 47 in the settings file).
    std::vector<std::pair<std::string, QString>> items;
    std::vector<std::pair<std::string, std::string>> steps; // caption and label at each press of t
};

TEST(TaxBillKeys, WorkedExamplesThroughTheKeyboard) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const auto env = std::filesystem::path(dir.path().toStdString()) / "bansho.ENV";
    // 0 places, 切捨; q, w and t carry rate 2's keys and the tax total.
    std::ofstream(env, std::ios::binary)
        << "[COMMAND]\r\nKeyCUST=1\r\nCKEY_Q=46\r\nCKEY_W=47\r\nCKEY_T=48\r\n\r\n"
           "[OPTION]\r\nHistSet=2\r\nDecimals=0\r\nRounding=0\r\n";
    TMForm main(env);
    THForm hist(main);
    main.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    main.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));

    const std::vector<Example> examples = {
        {"mixed bill",
         {{"1000", "F11"}, {"150", "q"}, {"620", "F11"}},
         {{"1,944.", "合計税込"}, {"1,770.", "合計税抜"}, {"174.", "合計税額"},
          {"1,620.", "10%対象"}, {"162.", "10%税額"}, {"1,782.", "10%税込"},
          {"150.", "8%対象"}, {"12.", "8%税額"}, {"162.", "8%税込"}, {"1,944.", "合計税込"}}},
        {"tax rounded once",
         {{"105", "F11"}, {"105", "F11"}, {"105", "F11"}},
         {{"346.", "合計税込"}, {"315.", "合計税抜"}, {"31.", "合計税額"}}},
        {"prices with tax",
         {{"1100", "F12"}, {"540", "w"}},
         {{"1,640.", "合計税込"}, {"1,500.", "合計税抜"}, {"140.", "合計税額"},
          {"1,000.", "10%対象"}, {"100.", "10%税額"}, {"1,100.", "10%税込"},
          {"500.", "8%対象"}, {"40.", "8%税額"}, {"540.", "8%税込"}}},
    };
    const DisplayModel& d = main.Engine().Display();
    for (const Example& e : examples) {
        ASSERT_TRUE(Press({QStringLiteral("Home")})) << "xdotool"; // AC
        ASSERT_TRUE(QTest::qWaitFor([&] { return main.Engine().BillItems().empty(); }, 10000));
        for (const auto& [amount, key] : e.items) {
            ASSERT_TRUE(Press(Digits(amount) << key));
        }
        ASSERT_TRUE(QTest::qWaitFor([&] { return main.Engine().BillItems().size() == e.items.size(); },
                                    10000))
            << e.name << ": " << main.Engine().BillItems().size() << " items";
        for (std::size_t i = 0; i < e.steps.size(); ++i) {
            ASSERT_TRUE(Press({QStringLiteral("t")}));
            const auto& [caption, label] = e.steps[i];
            EXPECT_TRUE(QTest::qWaitFor(
                [&] { return d.Caption == caption && d.NumMark == label; }, 10000))
                << e.name << " press " << i + 1 << ": shows " << d.Caption << " " << d.NumMark
                << ", not " << caption << " " << label;
        }
    }
    // The rate-2 item is marked on the receipt.
    ASSERT_TRUE(Press({QStringLiteral("Home"), QStringLiteral("KP_1"), QStringLiteral("KP_5"),
                       QStringLiteral("KP_0"), QStringLiteral("q")}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return d.NumMark == "税込8%"; }, 10000)) << d.NumMark;
    ASSERT_EQ(main.Engine().HistoryCount(), 1u);
    EXPECT_NE(main.Engine().HistRow(0).find("※外 150."), std::string::npos);
    hist.hide();
    main.hide();
}

} // namespace
