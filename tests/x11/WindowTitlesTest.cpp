// Every top-level window of the program shows its own title in the window manager's title
// bar: WM_NAME and _NET_WM_NAME hold the window title exactly, with nothing appended.
#include "EveryWindow.h"
#include "THForm.h"
#include "TMForm.h"
#include "XProperties.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <QScreen>

#include <fstream>
#include <functional>
#include <memory>

using namespace bansho;
using bansho::testing::SyncProgramConnection;
using bansho::testing::XProperties;

namespace {

struct SeenTitle {
    QString what;    // which window
    QString title;   // windowTitle() as the program set it
    QString wmName;  // WM_NAME
    QString netName; // _NET_WM_NAME
};

class WindowTitles : public bansho::testing::EveryWindowTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(x_.Ok()) << "cannot reach the private X server";
        EveryWindowTest::SetUp();
    }

    XProperties x_;
    std::vector<SeenTitle> seen_;
};

TEST_F(WindowTitles, EveryTopLevelWindowShowsItsOwnTitleExactly) {
    const int visited = VisitEveryWindow([&](const QString& what, QWidget* window) {
        SyncProgramConnection();
        seen_.push_back(
            {what, window->windowTitle(), x_.WmName(window), x_.NetWmName(window)});
    });
    ASSERT_EQ(visited, 10);
    ASSERT_EQ(seen_.size(), 10u);
    for (const SeenTitle& s : seen_) {
        SCOPED_TRACE(s.what.toStdString());
        EXPECT_FALSE(s.title.isEmpty());
        EXPECT_EQ(s.wmName.toStdString(), s.title.toStdString());
        EXPECT_EQ(s.netName.toStdString(), s.title.toStdString());
    }
    // The titles the program gives its windows.
    const std::map<QString, QString> expected = {
        {"main window", QStringLiteral(" バンショ  ver 3.22")},
        {"history window", QStringLiteral(" 入力レシート")},
        {"entry edit dialog", QStringLiteral(" 演算子と数値の 訂正")},
        {"print preview", QStringLiteral("印刷プレビュー")},
        {"about box", QStringLiteral(" バンショ バージョン情報")},
        {"customization dialog", QStringLiteral(" バンショ ＡＳＤカスタマイズ")},
        {"NUM-key dialog", QStringLiteral(" ＮＵＭ キー登録")},
        {"question box", QStringLiteral("確認")},
        {"error box", QStringLiteral(" バンショ v3.22")},
    };
    for (const SeenTitle& s : seen_) {
        const auto it = expected.find(s.what);
        if (it == expected.end()) continue;
        EXPECT_EQ(s.title.toStdString(), it->second.toStdString()) << s.what.toStdString();
    }
}

} // namespace

namespace {

// Stay-on-top is in force when the windows first appear, before the program was ever
// activated; and a place off every screen brings both windows onto the screen, whole.
TEST(StartUp, StayOnTopFromTheFirstShowAndBothWindowsOnTheScreen) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const auto env = std::filesystem::path(dir.path().toStdString()) / "bansho.ENV";
    std::ofstream(env, std::ios::binary)
        << "[BANSHO]\r\nLeft=5000\r\nTop=3000\r\nWidth=700\r\n\r\n[OPTION]\r\nStyle=3\r\n";
    TMForm main(env);
    THForm hist(main);
    main.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    ASSERT_TRUE(hist.isVisible());
    SyncProgramConnection();
    XProperties x;
    EXPECT_TRUE(x.Atoms(&main, "_NET_WM_STATE").contains("_NET_WM_STATE_ABOVE"));
    EXPECT_TRUE(x.Atoms(&hist, "_NET_WM_STATE").contains("_NET_WM_STATE_ABOVE"));

    const QRect screen = main.screen()->geometry();
    EXPECT_TRUE(screen.contains(main.frameGeometry()));
    EXPECT_TRUE(screen.contains(hist.frameGeometry()));
    hist.hide();
    main.hide();
}

} // namespace
