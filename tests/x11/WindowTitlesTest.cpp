// Every top-level window of the program shows its own title in the window manager's title
// bar: WM_NAME and _NET_WM_NAME hold the window title exactly, with nothing appended.
#include "MessageBoxes.h"
#include "TCForm.h"
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

class WindowTitles : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        ASSERT_TRUE(x_.Ok()) << "cannot reach the private X server";
        main_ = std::make_unique<TMForm>(std::filesystem::path(dir_.path().toStdString()) /
                                         "bansho.ENV");
        InstallCustomizeDialog(*main_);
        hist_ = std::make_unique<THForm>(*main_);
        main_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(main_.get()));
    }
    void TearDown() override {
        hist_.reset();
        if (main_) main_->hide();
        main_.reset();
    }

    void See(const QString& what, QWidget* window) {
        SyncProgramConnection();
        seen_.push_back({what, window->windowTitle(), x_.WmName(window), x_.NetWmName(window)});
    }

    // Runs `open`, which opens a modal window; once that window is on the screen its titles
    // are read, `inside` runs (it may open further windows), and the window is closed.
    void SeeModal(const QString& what, const std::function<void()>& open,
                  const std::function<void(QWidget*)>& inside = {}) {
        QWidget* before = QApplication::activeModalWidget();
        bool found = false;
        auto* poll = new QTimer;
        poll->setInterval(10);
        QObject::connect(poll, &QTimer::timeout, poll, [&, poll, before] {
            QWidget* m = QApplication::activeModalWidget();
            if (!m || m == before || !m->isVisible()) return;
            poll->stop();
            poll->deleteLater();
            found = true;
            See(what, m);
            if (inside) inside(m);
            if (auto* d = qobject_cast<QDialog*>(m)) d->reject();
        });
        poll->start();
        open();
        if (!found) {
            delete poll;
            ADD_FAILURE() << what.toStdString() << " did not open";
        }
    }

    QTemporaryDir dir_;
    XProperties x_;
    std::unique_ptr<TMForm> main_;
    std::unique_ptr<THForm> hist_;
    std::vector<SeenTitle> seen_;
};

TEST_F(WindowTitles, EveryTopLevelWindowShowsItsOwnTitleExactly) {
    See("main window", main_.get());
    ASSERT_TRUE(hist_->isVisible());
    See("history window", hist_.get());

    // One row in the receipt, so that the entry edit dialog can open on it.
    main_->ExecCommand(5);
    main_->ExecCommand(17);
    SeeModal("entry edit dialog", [&] { hist_->btCorrect->click(); });

    SeeModal("about box", [&] { main_->ExecCommand(150); });
    SeeModal(
        "customization dialog", [&] { main_->ExecCommand(151); },
        [&](QWidget* w) {
            auto* dlg = qobject_cast<TCForm*>(w);
            ASSERT_NE(dlg, nullptr);
            SeeModal("colour chooser", [&] { dlg->btnWin->click(); });
            if (!dlg->UseNumKey->isChecked()) dlg->UseNumKey->click();
            SeeModal("NUM-key dialog", [&] { dlg->btKeySET->click(); });
        });
    SeeModal("question box",
             [&] { platform::AskYesNo(main_.get(), QStringLiteral("よろしいですか？")); });
    SeeModal("error box", [&] { platform::ShowError(main_.get(), QStringLiteral("エラー")); });

    ASSERT_EQ(seen_.size(), 9u);
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
