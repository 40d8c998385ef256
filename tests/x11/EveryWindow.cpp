#include "EveryWindow.h"

#include "MessageBoxes.h"
#include "PrintDialog.h"
#include "TCForm.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace bansho::testing {

void EveryWindowTest::SetUp() {
    ASSERT_TRUE(dir_.isValid());
    main_ = std::make_unique<TMForm>(std::filesystem::path(dir_.path().toStdString()) /
                                     "bansho.ENV");
    InstallCustomizeDialog(*main_);
    hist_ = std::make_unique<THForm>(*main_);
    main_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main_.get()));
}

void EveryWindowTest::TearDown() {
    hist_.reset();
    if (main_) main_->hide();
    main_.reset();
}

void EveryWindowTest::VisitModal(const QString& what, const std::function<void()>& open,
                                 const std::function<void(QWidget*)>& inside) {
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
        ++visited_;
        visit_(what, m);
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

int EveryWindowTest::VisitEveryWindow(const Visitor& visit) {
    visit_ = visit;
    visited_ = 0;
    ++visited_;
    visit_("main window", main_.get());
    EXPECT_TRUE(hist_->isVisible());
    ++visited_;
    visit_("history window", hist_.get());

    // One row in the receipt, so that the entry edit dialog can open on it.
    main_->ExecCommand(5);
    main_->ExecCommand(17);
    VisitModal("entry edit dialog", [&] { hist_->btCorrect->click(); });
    // The print preview comes from the print module of the build tree.
    SetPrintModuleFolders({QStringLiteral(BANSHO_BUILD_DIR)});
    VisitModal("print preview", [&] { main_->ExecCommand(53); });

    VisitModal("about box", [&] { main_->ExecCommand(150); });
    VisitModal(
        "customization dialog", [&] { main_->ExecCommand(151); },
        [&](QWidget* w) {
            auto* dlg = qobject_cast<TCForm*>(w);
            ASSERT_NE(dlg, nullptr);
            VisitModal("colour chooser", [&] { dlg->btnWin->click(); });
            if (!dlg->UseNumKey->isChecked()) dlg->UseNumKey->click();
            VisitModal("NUM-key dialog", [&] { dlg->btKeySET->click(); });
        });
    VisitModal("question box",
               [&] { platform::AskYesNo(main_.get(), QStringLiteral("よろしいですか？")); });
    VisitModal("error box", [&] { platform::ShowError(main_.get(), QStringLiteral("エラー")); });
    return visited_;
}

} // namespace bansho::testing
