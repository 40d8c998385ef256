#pragma once
// The NUM-key character dialog: the user types, in a fixed order, the characters of the 17
// keys that are to act as a numeric keypad, and the dialog stores them with the key codes of
// the keys that produce them on the current layout.
#include "Options.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace bansho {

class TKForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 396;
    static constexpr int kClientHeight = 212;
    static constexpr int kDesignLeft = 455;
    static constexpr int kDesignTop = 300;
    // The keypad row in full-width form, one character per NUM-key position.
    static const QString kNumKeyRowWide; // "０１２３４５６７８９．，＋－×÷＝"

    // Edits option.UserTCH and option.UserKEY in place.
    TKForm(TOption& option, QWidget* owner);

    QLabel* Explanation[4] = {};
    QLabel* RowLabel = nullptr;
    QLineEdit* NumRow = nullptr; // disabled: the full-width row
    QLabel* TchLabel = nullptr;
    QLineEdit* UserNumTCH = nullptr;
    QPushButton* btINI = nullptr;
    QPushButton* btSET = nullptr;
    QPushButton* btCancel = nullptr;

    // The key codes for a text of NUM-key characters: one byte per character, the code of
    // the key that types it on the current layout (shift dropped), FF hex when no key does.
    static std::string KeyCodesFor(const QString& chars);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Build();
    void FormCreate();
    void UserNumTCHChange();
    void btINIClick();
    void btSETClick();
    void btCancelClick();

    TOption& option_;
};

} // namespace bansho
