// The main window: composition, start-up, the layout rule and the display.
#include "TMForm.h"

#include "ColorValue.h"
#include "CommandTable.h"
#include "DisplayFontMeasure.h"
#include "ExactWindowTitle.h"
#include "Fonts.h"
#include "HistoryLink.h"
#include "KeyRepeat.h"
#include "MainWindowHost.h"
#include "MessageBoxes.h"
#include "PopupMenus.h"
#include "ScreenPlacement.h"
#include "Settings.h"
#include "SpokenDisplay.h"
#include "StatusBarPanels.h"
#include "TFuncKey.h"
#include "WindowHelpers.h"

#include <QApplication>
#include <QFontMetrics>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QStyle>
#include <QTimer>

namespace bansho {

const QString TMForm::kWindowTitle = QStringLiteral(" バンショ  ver 3.22");
const QString TMForm::kProgramTitle = QStringLiteral(" バンショ v3.22");

namespace {

constexpr int kFKeyHeight = 24;
constexpr int kDefaultSBBaseHeight = 21;

QLabel* MakeLabel(QWidget* parent, const char* name, Qt::Alignment align) {
    auto* l = new QLabel(parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setAlignment(align);
    l->setTextFormat(Qt::PlainText);
    return l;
}

using platform::PixelFont;

} // namespace

TMForm::TMForm(const std::filesystem::path& envFile, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      envFile_(envFile) {
    setObjectName("MForm");
    host_ = std::make_unique<MainWindowHost>(*this);
    engine_ = std::make_unique<CalcEngine>(option_, status_, *host_);
    BuildComponents();
    FormCreate();
}

TMForm::~TMForm() = default;

void TMForm::BuildComponents() {
    setFont(PixelFont(QStringLiteral("メイリオ"), 11));
    setFocusPolicy(Qt::StrongFocus);
    move(kDesignLeft, kDesignTop);

    WinBase = new QFrame(this);
    WinBase->setObjectName("WinBase");
    WinBase->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    WinBase->setLineWidth(1);
    WinBase->setAutoFillBackground(true);

    LPanel = new QWidget(WinBase);
    LPanel->setObjectName("LPanel");
    LPanel->setFont(PixelFont(QStringLiteral("メイリオ"), 12));
    TotMark = MakeLabel(LPanel, "TotMark", Qt::AlignCenter);
    MemMark = MakeLabel(LPanel, "MemMark", Qt::AlignCenter);
    KctMark = MakeLabel(LPanel, "KctMark", Qt::AlignCenter);

    RPanel = new QWidget(WinBase);
    RPanel->setObjectName("RPanel");
    NumMark = MakeLabel(RPanel, "NumMark", Qt::AlignCenter);
    NumMark->setFont(PixelFont(QStringLiteral("メイリオ"), 16));
    OpeMark = MakeLabel(RPanel, "OpeMark", Qt::AlignCenter);
    OpeMark->setFont(PixelFont(QStringLiteral("ＭＳ ゴシック"), 32));

    CPanel = new QWidget(WinBase);
    CPanel->setObjectName("CPanel");
    DNumber = new NumberDisplay(CPanel);
    DNumber->setObjectName(QStringLiteral("DNumber"));
    DNumber->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    DNumber->setText(QStringLiteral("-888,888,888,888,888."));
    displayFont_ = PixelFont(QStringLiteral("ＭＳ Ｐゴシック"), 64);
    DNumber->setFont(displayFont_);
    // The number is what a screen reader reads, so it holds the window's keyboard focus; the
    // keys it receives are the window's own and go on to the window unchanged.
    DNumber->setFocusPolicy(Qt::StrongFocus);
    DNumber->installEventFilter(this);
    platform::WatchHeldKeys();
    setFocusProxy(DNumber);
    // Over the number's top left corner, where a right-aligned number leaves room.
    SelMark = MakeLabel(CPanel, "SelMark", Qt::AlignLeft | Qt::AlignTop);
    SelMark->setFont(PixelFont(QStringLiteral("メイリオ"), 12));
    // Over the bottom left corner: the bill's item count.
    ItemsMark = MakeLabel(CPanel, "ItemsMark", Qt::AlignLeft | Qt::AlignBottom);
    ItemsMark->setFont(PixelFont(QStringLiteral("メイリオ"), 12));

    FKBase = new QWidget(this);
    FKBase->setObjectName("FKBase");
    FKey = new TFuncKey(FKBase);
    FKey->setObjectName("FKey");
    FKey->setFont(PixelFont(QStringLiteral("メイリオ"), 11));
    FKey->SetMergin(2);
    // The keys are clicked, never focused: the keyboard always belongs to the window.
    for (int i = 0; i < TFuncKey::kKeys; ++i)
        FKey->GetKey(i)->setFocusPolicy(Qt::NoFocus);
    FKey->OnClick = [this](FunctionKeyButton* sender, int key) { FKeyClick(sender, key); };

    SBBase = new QWidget(this);
    SBBase->setObjectName("SBBase");
    SBar = new StatusBarPanels(SBBase);
}

// A popup menu is made when it is first asked for; none is shown at start.
QMenu* TMForm::CommandMenu(int command) {
    const int first = CommandNumber(Command::EditMenu);
    if (command < first || command > CommandNumber(Command::ZoomMenu)) return nullptr;
    QMenu*& menu = menus_[command - first];
    if (!menu) {
        const PopupMenuDef* def = FindPopupMenu(command);
        if (!def) return nullptr;
        menu = BuildPopupMenu(*def, this);
        connect(menu, &QMenu::triggered, this, &TMForm::MenuItemSelect);
        connect(menu, &QMenu::aboutToShow, this,
                [this, menu] { ShowSelections(*menu, option_.Decimals, option_.Rounding); });
    }
    return menu;
}

// The start-up sequence.
void TMForm::FormCreate() {
    // 1. Titles.
    setWindowTitle(kWindowTitle);
    QGuiApplication::setApplicationDisplayName(kProgramTitle);
    KeepExactWindowTitles(); // every window of the program, this one included

    // 2. Transparency and stay-on-top follow the program's activation. (The program-wide
    // key filter that drops auto-repeated F-keys comes with the function-key bar.)
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) {
                if (state == Qt::ApplicationActive)
                    OnAppActivate();
                else
                    OnAppDeactivate();
            });

    // 3. Panel sizes.
    InitMainLayout();

    // 4.-6. Built-in defaults, the command catalogue and the factory key tables.
    SetBuiltInDefaults(option_, status_);
    (void)CommandTable();
    InitKeyTBL(keys_, option_, status_);

    // 7. The width of the screen, until the settings say otherwise.
    if (QScreen* s = QGuiApplication::primaryScreen()) resize(s->geometry().width(), height());

    // 8.-9. The settings file, then the function-key sets completed.
    LoadSettings();
    NormalizeFuncSets(keys_);

    // 10.-12. Colours, set A on the bar, and the all-clear ("0.").
    SetMarkColors();
    status_.FuncSet = 0;
    ApplyFuncSet();
    engine_->SetStatusBarShown(StatusBarVisible());
    engine_->SetStyledFont(DisplayFontStyle() != 0);
    KeepOnScreen(); // which runs the layout rule
    engine_->AllClear();
}

// A remembered place may lie on a screen that is gone, or the remembered width may be more
// than the screen holds: the window opens on the screen nearest to that place, no wider than
// it, and whole together with the history window docked to it where they fit.
void TMForm::KeepOnScreen() {
    std::vector<WindowRect> areas;
    for (QScreen* s : QGuiApplication::screens()) {
        const QRect a = s->availableGeometry();
        areas.push_back({a.left(), a.top(), a.width(), a.height()});
    }
    // Before the window manager has framed the window its frame is not known; a title bar
    // and borders as the style draws them are reckoned with.
    const QRect outer = frameGeometry();
    const QRect inner = geometry();
    QMargins m(inner.left() - outer.left(), inner.top() - outer.top(),
               outer.right() - inner.right(), outer.bottom() - inner.bottom());
    if (outer == inner) {
        const int border = std::max(0, style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth));
        const int title = std::max(0, style()->pixelMetric(QStyle::PM_TitleBarHeight));
        m = QMargins(border, title + border, border, border);
    }
    const QPoint at = outer.topLeft();
    WindowRect frame{at.x(), at.y(), width() + m.left() + m.right(),
                     height() + m.top() + m.bottom()};
    const int i = NearestScreen(frame, areas);
    if (i < 0) {
        FormResize();
        return;
    }
    // The width first, so that the layout rule never fits the font to more than the screen.
    resize(WidthOnScreen(width(), m.left() + m.right(), areas[i]), height());
    FormResize();
    frame.width = width() + m.left() + m.right();
    frame.height = height() + m.top() + m.bottom();
    const int docked = historyState_.Visible ? historyState_.Height : 0;
    const WindowRect placed = PlaceOnScreen(frame, areas[i], docked, winOptions_.Upper);
    if (placed.left != frame.left || placed.top != frame.top) move(placed.left, placed.top);
}

void TMForm::InitMainLayout() {
    const int h = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
    fkBaseHeight_ = FuncKeyBaseHeight(h > 0 ? h : 23);
    sbBaseHeight_ = kDefaultSBBaseHeight;
    SBar->SetBarHeight(sbBaseHeight_);
}

void TMForm::LoadSettings() {
    MainWindowSettings win;
    win.Left = kDesignLeft;
    win.Top = kDesignTop;
    StoredState refs{option_, colors_, status_, keys_, win, winOptions_, historyState_};
    if (envFile_.empty()) {
        envFile_ = EnvFileName();
        readFile_ = EnvFileToRead(envFile_.string(), EnvFileBesideProgram());
    } else {
        readFile_ = envFile_;
    }
    IniFile::LoadResult read;
    bansho::LoadSettings(readFile_.string(), refs, &read);
    // A file that is there but cannot be read is never saved over; the user hears of it
    // once, when the window is up.
    if (read.Status == IniFile::LoadStatus::Unreadable && readFile_ == envFile_) {
        envFileUnreadable_ = true;
        const QString text = QString::fromStdString(UnreadableMessage(readFile_.string(), read));
        QTimer::singleShot(0, this, [this, text] { platform::ShowError(this, text); });
    }

    stayOnTop_ = win.Style == kStyleStayOnTop;
    // Above other windows from the first show, not only from the first activation.
    platform::SetStayOnTop(this, stayOnTop_);
    if (win.FHeight) fkBaseHeight_ = std::max(0, *win.FHeight);
    SBBase->setVisible(win.StatusBar);
    if (win.SHeight) {
        sbBaseHeight_ = std::max(0, *win.SHeight);
        SBar->SetBarHeight(sbBaseHeight_);
    }
    move(win.Left, win.Top);
    resize(std::max(win.Width, kMinWindowWidth), std::max(win.Height, 1));
    SetDisplayFont(QString::fromStdString(win.FontName), win.FontStyle);
}

// Writes the settings file. When it cannot be written, the error box asks whether to close
// without saving; `quiet` shows nothing. Returns whether the window may close.
bool TMForm::SaveSettings(bool quiet) {
    if (settingsSaved_ || envFileUnreadable_) return true;
    const SaveResult r = WriteSettings();
    if (r.Ok) {
        settingsSaved_ = true;
        return true;
    }
    if (quiet) return false;
    const bool closeAnyway = platform::AskErrorYesNo(
        this, QString::fromStdString(r.Error) + QStringLiteral("\n\n設定を保存せずに終了しますか?"));
    if (closeAnyway) settingsSaved_ = true; // the user gave them up: nothing more is tried
    return closeAnyway;
}

SaveResult TMForm::WriteSettings() {
    MainWindowSettings win;
    // The place and size the window has when it is neither maximised nor full-screen nor
    // minimised, in the program's own units (Qt's device-independent pixels) whatever the
    // screen's scale: a maximised window kept as its maximised size would come back as a
    // plain window of the whole screen's width, with no way back.
    RememberPlainGeometry();
    const QRect inner = plainGeometry_.isValid() ? plainGeometry_ : geometry();
    const QRect frame = frameGeometry();
    win.Left = inner.left() - (geometry().left() - frame.left());
    win.Top = inner.top() - (geometry().top() - frame.top());
    win.Width = inner.width();
    win.Height = inner.height();
    win.Style = stayOnTop_ ? kStyleStayOnTop : kStyleNormal;
    win.StatusBar = StatusBarVisible();
    win.FontName = DisplayFontName().toStdString();
    win.FontStyle = DisplayFontStyle();
    if (history_ && history_->Window()) historyState_.Visible = history_->Window()->isVisible();
    StoredState refs{option_, colors_, status_, keys_, win, winOptions_, historyState_};
    return bansho::SaveSettings(envFile_.string(), refs);
}

// Only a plain window's place and size are remembered. The window's height is the layout
// rule's, so a maximised window becomes, for Qt, a plain window as wide as the screen the
// moment the rule sets its height: a window that spans its screen's whole width is taken
// as maximised too.
void TMForm::RememberPlainGeometry() {
    if (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized))
        return;
    const QRect frame = frameGeometry();
    if (const QScreen* s = screen()) {
        const QRect a = s->availableGeometry();
        if (frame.width() >= a.width()) return;
    }
    plainGeometry_ = geometry();
}

bool TMForm::SaveSettingsQuietly() {
    return !envFileUnreadable_ && WriteSettings().Ok;
}

void TMForm::FinalSave() {
    if (!settingsSaved_) SaveSettingsQuietly();
    settingsSaved_ = true; // whatever came of it: nothing more is tried and nothing is asked
}

void TMForm::SaveAndQuit() {
    FinalSave();
    terminating_ = true;
    QCoreApplication::exit(0);
}

void TMForm::SetDisplayFont(const QString& face, int styleBits) {
    QFont f(face);
    f.setPixelSize(displayFont_.pixelSize() > 0 ? displayFont_.pixelSize() : 64);
    f.setBold(styleBits & 1);
    f.setItalic(styleBits & 2);
    f.setUnderline(styleBits & 4);
    f.setStrikeOut(styleBits & 8);
    displayFont_ = f;
    DNumber->setFont(displayFont_);
    engine_->SetStyledFont(DisplayFontStyle() != 0);
}

int TMForm::DisplayFontStyle() const {
    return (displayFont_.bold() ? 1 : 0) | (displayFont_.italic() ? 2 : 0) |
           (displayFont_.underline() ? 4 : 0) | (displayFont_.strikeOut() ? 8 : 0);
}

int TMForm::DisplayFontHeight() const {
    return displayFont_.pixelSize();
}

bool TMForm::StatusBarVisible() const {
    return !SBBase->isHidden();
}

int TMForm::FuncKeyWidth() const {
    return FKey->GetKey(0)->width();
}

QColor TMForm::NumberColour(ColorValue value) const {
    return ReadableText(value, colors_.MPanel, palette());
}

void TMForm::SetMarkColors() {
    QPalette base = WinBase->palette();
    base.setColor(QPalette::Window, ToQColor(colors_.MPanel, palette()));
    WinBase->setPalette(base);
    const QColor number = NumberColour(colors_.Number);
    for (QLabel* l : {TotMark, MemMark, KctMark, NumMark, OpeMark, SelMark, ItemsMark}) {
        QPalette p = l->palette();
        p.setColor(QPalette::WindowText, number);
        l->setPalette(p);
    }
    RenderDisplay();
}

void TMForm::ApplyFuncSet() {
    const auto entries = FuncSetKeys(keys_, status_.FuncSet);
    for (std::size_t k = 0; k < entries.size() && k < TFuncKey::kKeys; ++k) {
        FunctionKeyButton* key = FKey->GetKey(static_cast<int>(k));
        key->SetCaption(QString::fromStdString(entries[k].Caption));
        key->SetTag(entries[k].Command);
        key->SetHint(QString::fromStdString(entries[k].Hint));
        key->SetShowHint(winOptions_.Hint);
    }
}

void TMForm::RefreshMarks() {
    engine_->RefreshMarks();
}

// The layout rule: everything follows from the width.
void TMForm::FormResize() {
    if (inResize_) return;
    inResize_ = true;

    LayoutInput in;
    in.width = width();
    in.fontSize = displayFont_.pixelSize();
    in.margin = winOptions_.Margin;
    in.funcType = winOptions_.FuncType;
    in.smallFont = winOptions_.SmallFont;
    in.statusBarVisible = StatusBarVisible();
    in.statusBarHeight = sbBaseHeight_;
    in.fkBaseHeight = fkBaseHeight_;
    layout_ = ComputeLayout(in, MeasureWithFont(displayFont_));

    displayFont_.setPixelSize(layout_.fontSize);
    DNumber->setFont(displayFont_);

    QFont ope = OpeMark->font();
    ope.setPixelSize(std::max(1, layout_.opeFontSize));
    OpeMark->setFont(ope);
    for (QWidget* w : {static_cast<QWidget*>(LPanel), static_cast<QWidget*>(TotMark),
                       static_cast<QWidget*>(MemMark), static_cast<QWidget*>(KctMark),
                       static_cast<QWidget*>(NumMark), static_cast<QWidget*>(SelMark),
                       static_cast<QWidget*>(ItemsMark)}) {
        QFont f = w->font();
        f.setPixelSize(std::max(1, layout_.markFontSize));
        w->setFont(f);
    }

    FKey->SetKeyCount(layout_.keyCount);
    QFont keyFont = FKey->font();
    keyFont.setPointSize(layout_.keyFontPoints);
    FKey->setFont(keyFont);

    // The height is the rule's: only the width is the user's to choose.
    setMinimumWidth(kMinWindowWidth);
    setFixedHeight(layout_.clientHeight);
    if (width() != layout_.width || height() != layout_.clientHeight)
        resize(layout_.width, layout_.clientHeight);

    PlaceChildren();
    inResize_ = false;
}

void TMForm::PlaceChildren() {
    const int w = width();
    const int h = height();
    const bool sb = StatusBarVisible();
    const int sbH = sb ? sbBaseHeight_ : 0;

    // The status bar always sits below the function-key bar, at the very bottom.
    SBBase->setGeometry(0, h - sbH, w, sbBaseHeight_);
    SBar->setGeometry(0, 0, w, sbBaseHeight_);
    FKBase->setGeometry(0, h - sbH - fkBaseHeight_, w, fkBaseHeight_);
    FKey->setGeometry(0, std::max(0, fkBaseHeight_ - kFKeyHeight), w,
                      std::min(kFKeyHeight, fkBaseHeight_));
    WinBase->setGeometry(0, 0, w, std::max(0, h - sbH - fkBaseHeight_));

    const QRect inner = WinBase->contentsRect();
    const int lw = std::min(layout_.lPanelWidth, inner.width());
    const int rw = std::min(layout_.rPanelWidth, std::max(0, inner.width() - lw));
    LPanel->setGeometry(inner.left(), inner.top(), lw, inner.height());
    RPanel->setGeometry(inner.right() + 1 - rw, inner.top(), rw, inner.height());
    CPanel->setGeometry(inner.left() + lw, inner.top(), std::max(0, inner.width() - lw - rw),
                        inner.height());
    DNumber->setGeometry(0, 0, CPanel->width(), CPanel->height());
    SelMark->setGeometry(2, 0, CPanel->width() / 2,
                         std::min(SelMark->fontMetrics().height() + 2, CPanel->height()));
    const int itemsH = std::min(ItemsMark->fontMetrics().height() + 2, CPanel->height());
    ItemsMark->setGeometry(2, CPanel->height() - itemsH, CPanel->width() / 2, itemsH);

    const int lh = LPanel->height();
    const int totH = std::min(layout_.totMarkHeight, lh);
    const int kctH = std::min(layout_.kctMarkHeight, std::max(0, lh - totH));
    TotMark->setGeometry(0, 0, lw, totH);
    KctMark->setGeometry(0, lh - kctH, lw, kctH);
    MemMark->setGeometry(0, totH, lw, std::max(0, lh - totH - kctH));

    // The NUM or tax label on top is as high as a line of its font, the operator mark fills
    // the rest; a font that could not be whole there is made smaller, so at no width is a
    // mark cut off while the window keeps the height of the layout rule.
    static const QStringList numTexts = {QStringLiteral("NUM"),    QStringLiteral("税込"),
                                         QStringLiteral("税額"),   QStringLiteral("税抜"),
                                         QStringLiteral("日付×"),  QStringLiteral("検算×"),
                                         QStringLiteral("検算OK")};
    const int rh = RPanel->height();
    const QFont numFont = FontFittingBox(FontAtPixelSize(NumMark->font(), layout_.markFontSize),
                                         numTexts, rw, rh / 2);
    NumMark->setFont(numFont);
    numFont_ = numFont;
    numFitText_.clear();
    const int numH = std::min(TextLineHeight(numFont, numTexts), rh);
    NumMark->setGeometry(0, 0, rw, numH);
    FitNumMark();
    const int opeH = std::max(0, rh - numH);
    OpeMark->setGeometry(0, numH, rw, opeH);
    opeFitPending_ = true;
    FitOpeMark();
}

void TMForm::FitNumMark() {
    const QString text = NumMark->text();
    if (text == numFitText_) return;
    numFitText_ = text;
    const bool fits = text.isEmpty() ||
                      QFontMetrics(numFont_).horizontalAdvance(text) <= NumMark->width();
    NumMark->setFont(fits ? numFont_
                          : FontFittingBox(numFont_, {text}, NumMark->width(), NumMark->height()));
}

// The operator mark's font is fitted to its box when the mark shows a glyph: its face is
// loaded only then (at start there is no operator, and the face is a large one).
void TMForm::FitOpeMark() {
    if (!opeFitPending_ || OpeMark->text().isEmpty()) return;
    static const QStringList opeTexts = {QStringLiteral("＋"), QStringLiteral("－"),
                                         QStringLiteral("×"), QStringLiteral("÷")};
    opeFitPending_ = false;
    OpeMark->setFont(FontFittingBox(FontAtPixelSize(OpeMark->font(), layout_.opeFontSize),
                                    opeTexts, OpeMark->width(), OpeMark->height()));
}

void TMForm::RenderDisplay() {
    if (!engine_ || !DNumber) return;
    const DisplayModel& d = engine_->Display();
    const QString caption = QString::fromStdString(d.Caption);
    DNumber->setText(caption);
    QPalette p = DNumber->palette();
    const QColor colour = NumberColour(d.Error ? colors_.Error : colors_.Number);
    if (p.color(QPalette::WindowText) != colour) {
        p.setColor(QPalette::WindowText, colour);
        DNumber->setPalette(p);
    }
    // A screen reader reads the number as shown and the lit marks as its description; each
    // is set only when it changes, so that a change is announced once.
    const QString spoken = QString::fromStdString(SpokenNumber(d));
    if (DNumber->accessibleName() != spoken) DNumber->setAccessibleName(spoken);
    const QString marks = QString::fromStdString(SpokenMarks(d));
    if (DNumber->accessibleDescription() != marks) DNumber->setAccessibleDescription(marks);

    OpeMark->setText(QString::fromStdString(d.OpeMark));
    FitOpeMark();
    TotMark->setText(QString::fromStdString(d.TotMark));
    MemMark->setText(QString::fromStdString(d.MemMark));
    KctMark->setText(QString::fromStdString(d.KctMark));
    NumMark->setText(QString::fromStdString(d.NumMark));
    FitNumMark();
    SBar->SetPanelText(0, QString::fromStdString(d.PanelGT));
    SBar->SetPanelText(1, QString::fromStdString(d.PanelM));
    SBar->SetPanelText(2, QString::fromStdString(d.PanelK));
    SBar->SetPanelText(3, QString::fromStdString(d.PanelNUM));
    SBar->SetPanelText(4, QString::fromStdString(d.PanelCount));
    SelMark->setText(QString::fromStdString(d.SelectorMark));
    SBar->SetSelectorText(QString::fromStdString(d.PanelSelector));
    ItemsMark->setText(QString::fromStdString(d.ItemsMark));
    SBar->SetItemsText(QString::fromStdString(d.PanelItems));
}

void TMForm::SetHistoryWindow(HistoryLink* link) {
    history_ = link;
    if (history_ && history_->Window()) {
        platform::SetStayOnTop(history_->Window(), stayOnTop_);
        // The history window takes the main window's style and transparency.
        if (QGuiApplication::applicationState() == Qt::ApplicationActive)
            OnAppActivate();
        else
            OnAppDeactivate();
    }
}

} // namespace bansho
