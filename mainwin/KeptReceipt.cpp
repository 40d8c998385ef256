// The kept receipt in the running program (see KeptReceipt.h).
#include "KeptReceipt.h"

#include "MessageBoxes.h"
#include "PopupMenus.h"
#include "Settings.h"
#include "TMForm.h"

#include <QCoreApplication>
#include <QTimer>

#include <cstdio>

namespace bansho {

namespace {

QString Text(const std::string& s) {
    return QString::fromStdString(s);
}

} // namespace

KeptReceipt::KeptReceipt(TMForm& form) : form_(form) {
    const std::string settings = form_.EnvFile().string();
    // A portable install keeps everything of the program in its own folder.
    path_ = keep::JournalFileName(settings, settings == EnvFileBesideProgram());
    form_.SetKeepingLink({[this] { return Problem(); }, [this] { OptionChanged(); }});
    form_.SetMenuAction(kClearKeptAction, [this] { ClearKeptState(); });
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] { CleanClose(); });
    if (form_.Option().KeepReceipt) Start(true);
}

KeptReceipt::~KeptReceipt() {
    CleanClose();
}

std::string KeptReceipt::Problem() const {
    if (!form_.Option().KeepReceipt || keeper_) return {};
    if (journal_ && !journal_->Problem().empty()) return journal_->Problem();
    return "ファイル \"" + path_ + "\" に記録できません。";
}

void KeptReceipt::Start(bool restore) {
    keeper_.reset();
    journal_ = std::make_unique<keep::Journal>(path_);
    keep::KeptState state;
    const keep::Journal::Status status = journal_->Open(state);
    if (status == keep::Journal::Status::Bad) {
        // Told once the windows are up; the program starts empty meanwhile.
        QTimer::singleShot(0, this, [this] { ReportBadJournal(); });
        return;
    }
    if (status != keep::Journal::Status::Keeping) return; // the dialog shows why
    CalcEngine& engine = form_.Engine();
    // Turned on while running, the receipt as it stands is what is kept from now on.
    if (restore && !state.Empty()) keep::RestoreInto(engine, std::move(state));
    keeper_ = std::make_unique<keep::ReceiptKeeper>(engine, *journal_, !restore);
    form_.RefreshMarks();
}

void KeptReceipt::Stop(bool removeFile) {
    keeper_.reset();
    if (!journal_) return;
    const bool kept = journal_->GetStatus() == keep::Journal::Status::Keeping;
    journal_->Close();
    journal_.reset();
    if (removeFile && kept) {
        // The option is off: nothing of the receipt stays on the disk.
        std::remove(path_.c_str());
        std::remove((path_ + ".lock").c_str());
    }
}

void KeptReceipt::OptionChanged() {
    if (form_.Option().KeepReceipt)
        Start(false);
    else
        Stop(true);
}

void KeptReceipt::ReportBadJournal() {
    if (!journal_ || journal_->GetStatus() != keep::Journal::Status::Bad) return;
    const QString text = Text(journal_->Problem()) +
                         QStringLiteral("\nレシートは空で始まります。このファイルには書き込みません。"
                                        "\n\nこのファイルの名前を変えて残し、新しく記録を始めますか？"
                                        "\n（いいえ: そのままにして、今回は記録しません）");
    if (!platform::AskErrorYesNo(&form_, text)) return;
    const std::string aside = journal_->MoveAside();
    if (aside.empty()) {
        platform::ShowError(&form_, Text(journal_->Problem()));
        return;
    }
    Start(false);
}

void KeptReceipt::ClearKeptState() {
    if (!platform::AskYesNo(&form_, QStringLiteral("レシート・メモリー・グランドトータルを消去しますか？\n"
                                                   "（「元に戻す」で戻せます）")))
        return;
    form_.Engine().ClearKept();
    form_.RefreshMarks();
}

void KeptReceipt::CleanClose() {
    if (keeper_) keeper_->Compact();
    Stop(false);
}

} // namespace bansho
