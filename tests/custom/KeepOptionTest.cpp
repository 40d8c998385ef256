// The customization dialog's option that keeps the receipt: turned on, the journal is made and
// kept; a second copy cannot keep it and its dialog says why; turned off, the file is gone.
#include "CustomFixture.h"
#include "KeptReceipt.h"
#include "LayoutCheck.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>

#include <filesystem>
#include <fstream>

using namespace bansho;
using bansho::testing::CustomFixture;
using bansho::testing::ExpectNothingClippedOrOverlapping;

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

// The options page with the note that says why the receipt is not kept: the note, whatever
// the reason and however long the journal's path, is whole, and nothing on the page is cut
// or covered.
enum class NotKept { Busy, Folder, OtherFile };
struct NoteCase {
    NotKept why;
    int folderLength; // of a folder between the state folder and "bansho"
};

class KeepNotePage : public CustomFixture, public ::testing::WithParamInterface<NoteCase> {};

TEST_P(KeepNotePage, IsWholeWithTheNoteShown) {
    const NoteCase c = GetParam();
    QTemporaryDir state;
    ASSERT_TRUE(state.isValid());
    const std::filesystem::path home = std::filesystem::path(state.path().toStdString()) /
                                       std::string(static_cast<std::size_t>(c.folderLength), 'k');
    qputenv("XDG_STATE_HOME", QByteArray::fromStdString(home.string()));
    const std::filesystem::path journal = home / "bansho" / "bansho.journal";
    std::filesystem::create_directories(journal.parent_path());
    keep::Journal holder(journal.string());
    keep::KeptState st;
    if (c.why == NotKept::Busy) {
        ASSERT_EQ(holder.Open(st), keep::Journal::Status::Keeping);
    }
    if (c.why == NotKept::Folder) std::filesystem::create_directories(journal);
    if (c.why == NotKept::OtherFile) std::ofstream(journal) << "a file of some other program";
    main->Option().KeepReceipt = true;
    {
        KeptReceipt kept(*main);
        ASSERT_FALSE(kept.Keeping());
        auto dlg = Open();
        dlg->show();
        dlg->Custom->setCurrentIndex(TCForm::PageOption);
        QApplication::processEvents();
        ASSERT_TRUE(dlg->KeepNote->isVisible());
        // The note is read out whole; shown, a path too long for its two lines loses its
        // middle, never its start, its name or the reason after it.
        const QString shown = dlg->KeepNote->text().remove(QChar(0x200B));
        const QString path = QString::fromStdString(journal.string());
        if (c.folderLength < 10) {
            EXPECT_TRUE(shown.contains(path)) << shown.toStdString();
        } else {
            EXPECT_TRUE(shown.contains(QStringLiteral("\"/tmp/"))) << shown.toStdString();
            EXPECT_TRUE(shown.contains(QStringLiteral("…"))) << shown.toStdString();
        }
        EXPECT_TRUE(shown.endsWith(QString::fromStdString(kept.Problem()).mid(
            QString::fromStdString(kept.Problem()).lastIndexOf(QLatin1Char('"')))))
            << shown.toStdString();
        EXPECT_TRUE(dlg->KeepReceipt->accessibleDescription().contains(path));
        EXPECT_TRUE(dlg->KeepNote->toolTip().contains(path));
        // A journal that cannot be read is also told once in a box naming it.
        int boxes = 0;
        for (const auto& m : messages)
            if (m.kind == platform::MessageKind::ErrorQuestion &&
                m.text.contains(QString::fromStdString(journal.string())))
                ++boxes;
        EXPECT_EQ(boxes, c.why == NotKept::Busy ? 0 : 1);
        ExpectNothingClippedOrOverlapping(dlg->Custom->widget(TCForm::PageOption),
                                          QStringLiteral("options page"));
        ExpectNothingClippedOrOverlapping(dlg.get(), QStringLiteral("dialog"), {dlg->NumLabel});
        if (qEnvironmentVariableIsSet("BANSHO_SHOT"))
            dlg->grab().save(qEnvironmentVariable("BANSHO_SHOT"));
    }
    qunsetenv("XDG_STATE_HOME");
}

INSTANTIATE_TEST_SUITE_P(Reasons, KeepNotePage,
                         ::testing::Values(NoteCase{NotKept::Busy, 1}, NoteCase{NotKept::Busy, 90},
                                           NoteCase{NotKept::Folder, 40},
                                           NoteCase{NotKept::OtherFile, 150}));
