// The customization dialog's option that keeps the receipt: turned on, the journal is made and
// kept; a second copy cannot keep it and its dialog says why; turned off, the file is gone.
#include "CustomFixture.h"
#include "KeptReceipt.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

#include <filesystem>

using namespace bansho;
using bansho::testing::CustomFixture;

TEST_F(CustomFixture, TheKeepOptionStartsAndStopsTheJournal) {
    QTemporaryDir state;
    ASSERT_TRUE(state.isValid());
    qputenv("XDG_STATE_HOME", state.path().toUtf8());
    const std::filesystem::path journal =
        std::filesystem::path(state.path().toStdString()) / "bansho" / "bansho.journal";
    {
        KeptReceipt kept(*main);
        EXPECT_FALSE(kept.Keeping());
        EXPECT_EQ(kept.JournalPath(), journal.string());
        EXPECT_FALSE(std::filesystem::exists(journal.parent_path())); // off: nothing made

        auto dlg = Open();
        EXPECT_FALSE(dlg->KeepReceipt->isChecked());
        dlg->KeepReceipt->setChecked(true);
        dlg->OKBtn->click();
        dlg.reset();
        EXPECT_TRUE(main->Option().KeepReceipt);
        EXPECT_TRUE(kept.Keeping());
        EXPECT_TRUE(std::filesystem::exists(journal));
        main->Engine().ExecCommand(7);
        main->Engine().ExecCommand(17); // a row, kept at once
        {
            keep::KeptState st;
            ASSERT_TRUE(keep::PeekJournal(journal.string(), st));
            EXPECT_EQ(st.Rows.size(), 1u);
        }

        // A second copy with the same settings: the journal is taken; its dialog says so.
        TMForm other(env_);
        other.Option().KeepReceipt = true;
        KeptReceipt second(other);
        EXPECT_FALSE(second.Keeping());
        EXPECT_NE(second.Problem().find("ほかのバンショ"), std::string::npos) << second.Problem();
        TCForm otherDialog(other);
        EXPECT_TRUE(otherDialog.KeepReceipt->isChecked());
        EXPECT_FALSE(otherDialog.KeepNote->isHidden());
        EXPECT_TRUE(otherDialog.KeepNote->text().contains(QStringLiteral("ほかのバンショ")));

        // Turned off: nothing of the receipt stays on the disk.
        dlg = Open();
        EXPECT_TRUE(dlg->KeepNote->isHidden());
        dlg->KeepReceipt->setChecked(false);
        dlg->OKBtn->click();
        dlg.reset();
        EXPECT_FALSE(kept.Keeping());
        EXPECT_FALSE(std::filesystem::exists(journal));
    }
    qunsetenv("XDG_STATE_HOME");
}
