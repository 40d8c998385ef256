#pragma once
// The customization dialog: calculation options, key assignments, display colours and font,
// and window options, on four pages. It edits the main window's settings in place; colours
// and transparency act at once so the user sees them, and Cancel puts them back.
#include "KeyAssignmentLists.h"
#include "KeyConfig.h"
#include "DisplayColors.h"
#include "Options.h"
#include "PathNote.h"
#include "WindowOptions.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSlider;
class QSpinBox;
class QTabWidget;

namespace bansho {

class TMForm;
class RadioButtonGroup;

class TCForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 456;
    static constexpr int kClientHeight = 366;
    // How long a hint stays up: longer on the key page, whose hints say more.
    static constexpr int kHintPauseKeys = 10000;
    static constexpr int kHintPauseNormal = 2500;
    static const QString kSampleText; // " -123,456,789,012,345. "

    // Runs the opening sequence against the main window's live settings.
    explicit TCForm(TMForm& owner);
    ~TCForm() override; // FormDestroy

    // The page indices, in order.
    enum Page { PageCalc = 0, PageKeys = 1, PageDisplay = 2, PageOption = 3 };

    // ---- Dialog ----
    QTabWidget* Custom = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;

    // ---- Page 1: calculation method ----
    RadioButtonGroup* Acount = nullptr;
    RadioButtonGroup* HistSet = nullptr;
    QGroupBox* MemGroup = nullptr;
    QCheckBox* MemCalc = nullptr;
    QGroupBox* TaxGroup = nullptr;
    QLineEdit* TaxRate = nullptr;
    QLabel* TaxUnit = nullptr;
    QLineEdit* TaxRate2 = nullptr; // the second (reduced) rate
    QLabel* TaxUnit2 = nullptr;
    QLabel* TaxLabel1 = nullptr; // "標準", the buddy of TaxRate ("税率１(標準)")
    QLabel* TaxLabel2 = nullptr; // "軽減", the buddy of TaxRate2 ("税率２(軽減)")
    QCheckBox* KeepReceipt = nullptr; // KeepReceipt: the receipt outlives the program
    PathNote* KeepNote = nullptr;      // why the receipt is not kept although the option is on
    QGroupBox* RateGroup = nullptr; // conversion rates (TCFormRates.cpp)
    QLineEdit* RateName1 = nullptr;
    QLineEdit* RateName2 = nullptr;
    QLineEdit* Rate2 = nullptr;
    QLineEdit* RateName3 = nullptr;
    QLineEdit* Rate3 = nullptr;

    // ---- Page 2: key customization ----
    QTabWidget* KFLCtrl = nullptr;
    QWidget* TabKList = nullptr;
    QWidget* TabFList = nullptr;
    QListWidget* KLBox = nullptr;
    QListWidget* FLBox = nullptr;
    QLabel* FStrLabel = nullptr;
    QLineEdit* FStrED = nullptr;
    QListWidget* CLBox = nullptr;
    QCheckBox* UseNumKey = nullptr;
    QPushButton* btKeySET = nullptr;
    QPushButton* btInitKeyTbl = nullptr;

    // ---- Page 3: display colours and font ----
    QGroupBox* ColorGroup = nullptr;
    QPushButton* btnWin = nullptr;
    QPushButton* btnNum = nullptr;
    QPushButton* btnErr = nullptr;
    QPushButton* btnHst = nullptr;
    QPushButton* btnHNum = nullptr;
    QFrame* NumPanel = nullptr;
    QLabel* NumLabel = nullptr;
    RadioButtonGroup* FontStyle = nullptr;
    QGroupBox* FontGroup = nullptr;
    QLabel* FontListLabel = nullptr;
    QComboBox* FontList = nullptr;
    QCheckBox* Margin = nullptr;

    // ---- Page 4: options ----
    RadioButtonGroup* KeyCnt = nullptr;
    QGroupBox* MoveGroup = nullptr;
    QLabel* MoveDotLabel = nullptr;
    QSpinBox* MoveDot = nullptr; // the edit with its spinner UpDownB
    QGroupBox* OptGroup = nullptr;
    QCheckBox* SBar = nullptr;
    QCheckBox* StayTop = nullptr;
    QCheckBox* FHint = nullptr;
    QCheckBox* Cycle = nullptr;
    QCheckBox* HUpper = nullptr;
    QCheckBox* StayHist = nullptr;
    QCheckBox* SFont = nullptr;
    RadioButtonGroup* AlphaType = nullptr;
    QGroupBox* AlphaLabel = nullptr;
    QSlider* AlphaUpDown = nullptr;

    // ---- State the tests look at ----
    const TOption& OptionBackup() const { return optionBackup_; }
    const DisplayColorSet& ColorBackup() const { return colorBackup_; }
    const KeyAssignmentLists& KeyLists() const { return lists_; }
    int HintHidePause() const { return hintHidePause_; }

    // ---- Handlers and methods (named as the dialog knows them) ----
    void SetCurrentKeyTBL();
    void ChangeAlphaLabelCaption();
    void RedispMForm();
    void RedispSample(const QString& face);

    void OKBtnClick();
    bool TaxRatesAccepted();
    void CancelBtnClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override; // Escape: the same as the cancel button

private:
    void Build();
    QWidget* BuildCalcPage();
    QGroupBox* BuildRateGroup(QWidget* page);
    void ShowRates();
    // Takes the rate fields into the options; false, after a message naming the field, when
    // one holds a value the calculator could not use (nothing is then taken).
    bool TakeRates();
    QWidget* BuildKeyPage();
    QWidget* BuildDisplayPage();
    QWidget* BuildOptionPage();
    void CentreOnScreen();
    void FormCreate();
    void FormDestroy();
    void CustomChange(int page);
    void SetHintHidePause(int ms);

    // Key page.
    bool KeyTabShown() const;
    void SelectCommand(const std::string& command);
    void KLBoxClick();
    void FLBoxClick();
    void KFLCtrlChange();
    void CLBoxClick();
    void FStrEDChange(const QString& text);
    void MarkKeyCustomized();
    void UseNumKeyClick();
    void btKeySETClick();
    void btInitKeyTblClick();
    void WriteBackKeys();

    // Colours, font and transparency.
    bool PickColor(ColorValue& edited, ColorValue* alsoSet);
    void btnWinClick();
    void btnNumClick();
    void btnErrClick();
    void btnHstClick();
    void btnHNumClick();
    void ApplyColorsToMain();
    void ApplyColorsToHistory();
    void ApplySampleColors();
    QString FontListText() const;
    void FontListChange();
    void FontStyleClick(int item);
    void AlphaTypeClick(int item);
    void AlphaUpDownChange(int position);

    TMForm& owner_;
    TOption& option_;
    DisplayColorSet& colors_;
    WindowOptions& winOptions_;
    TCalcStatus& status_;
    KeyConfig& keys_;
    TOption optionBackup_;
    DisplayColorSet colorBackup_;
    WindowOptions winOptionsBackup_;
    KeyAssignmentLists lists_;
    int hintHidePause_ = kHintPauseNormal;
    bool destroyed_ = false;
};

// Command 151: creates the dialog with the main window as owner, runs it modally and
// destroys it. The main window refreshes its marks and function keys afterwards.
void ShowCustomize(TMForm& owner);
// Makes command 151 of the main window open this dialog.
void InstallCustomizeDialog(TMForm& owner);

} // namespace bansho
