#pragma once
// The kept receipt in the running program: with the option KeepReceipt on, the journal
// (keep/ReceiptJournal.h) is opened at start and what it kept is put back; the option's
// change in the customization dialog starts or stops the keeping; the 履歴 menu's entry
// empties the kept state after asking; a clean end leaves one snapshot.
//
// The journal is the settings file's: in the user's state folder, or beside a portable
// install's settings file (keep::JournalFileName). A second copy of the program finds the
// journal's lock taken and runs without keeping; the dialog shows why.
#include "ReceiptJournal.h"
#include "ReceiptKeeper.h"

#include <QObject>

#include <memory>
#include <string>

namespace bansho {

class TMForm;

class KeptReceipt : public QObject {
public:
    // Call once the history window listens to the engine (it is told of the restored rows).
    // Opens the journal when the option is on; a journal that cannot be trusted is reported
    // once, after the windows are shown.
    explicit KeptReceipt(TMForm& form);
    ~KeptReceipt() override;

    bool Keeping() const { return keeper_ != nullptr; }
    // Why the receipt is not kept although the option is on (empty otherwise).
    std::string Problem() const;
    const std::string& JournalPath() const { return path_; }

private:
    void Start(bool restore);
    void Stop(bool removeFile);
    void OptionChanged();
    void ReportBadJournal();
    void ClearKeptState();
    void CleanClose();

    TMForm& form_;
    std::string path_;
    std::unique_ptr<keep::Journal> journal_;
    std::unique_ptr<keep::ReceiptKeeper> keeper_;
};

} // namespace bansho
