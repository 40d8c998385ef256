// Fuzz target: the history window and its entry edit dialog on arbitrary lists. The lists
// are built from arbitrary texts and operators; then selections, the window's keys (recall,
// correct, insert, delete, move up and down, select previous and next), copies, re-totals,
// typing on the calculator and edits in the dialog (arbitrary characters typed into both
// fields, closed by OK, the close box or Escape) run in any order. After every step:
//  - the engine's three lists keep one length and the window's list shows exactly their rows;
//  - the selection is a row of the list or none;
//  - an entry written by the dialog holds a number of digits and points (or the text it held
//    before) and one of the four operators, and its row shows them;
//  - a re-total of the input receipt shows the chain folded left to right, or the error form.
// Runs the real windows offscreen; beeps and message boxes are counted, not shown.
#include "Beep.h"
#include "CalcEngine.h"
#include "FuzzCheck.h"
#include "KeyMapping.h"
#include "MessageBoxes.h"
#include "NumberText.h"
#include "ReceiptListModel.h"
#include "ReceiptListView.h"
#include "TEForm.h"
#include "THForm.h"
#include "TMForm.h"
#include "TextFunctions.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

using namespace bansho;
using namespace bansho::testing;

namespace {

using bansho::TEForm;
using bansho::THForm;
using bansho::TMForm;

class Reader {
public:
    Reader(const std::uint8_t* data, std::size_t size) : p_(data), end_(data + size) {}
    bool More() const { return p_ < end_; }
    std::uint8_t Byte() { return p_ < end_ ? *p_++ : 0; }
    std::string Text(std::size_t maxLen) {
        std::size_t n = Byte() % (maxLen + 1);
        std::string s;
        while (n-- > 0 && p_ < end_)
            s += static_cast<char>(*p_++);
        return s;
    }

private:
    const std::uint8_t* p_;
    const std::uint8_t* end_;
};

struct Windows {
    QTemporaryDir dir;
    std::unique_ptr<TMForm> main;
    std::unique_ptr<THForm> hist;
    int messages = 0;

    Windows() {
        bansho::platform::SetBeepHook([] {});
        bansho::platform::SetMessageHook([this](const bansho::platform::MessageRequest&) {
            ++messages;
            return false;
        });
        main =
            std::make_unique<TMForm>(std::filesystem::path(dir.path().toStdString()) / "fuzz.ENV");
        main->show();
        hist = std::make_unique<THForm>(*main);
        hist->ShowHistory();
        QApplication::processEvents();
    }
    CalcEngine& Engine() { return main->Engine(); }
};

Windows& Shared() {
    static int argc = 1;
    static char name[] = "fuzz_history";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QApplication(argc, argv);
    }();
    (void)app;
    // Kept for the life of the process: Qt's own statics go first at exit. Its folder is
    // removed at exit all the same, or each run would leave one behind in the temporary folder.
    static Windows* w = [] {
        auto* made = new Windows;
        static const std::string folder = made->dir.path().toStdString();
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(folder, ignored);
        });
        return made;
    }();
    return *w;
}

bool IsDialogNumber(const std::string& s) {
    if (s.empty()) return false;
    for (const char c : s)
        if (!((c >= '0' && c <= '9') || c == '.')) return false;
    return true;
}

bool IsOperator(const std::string& s) {
    return s == "+" || s == "-" || s == "*" || s == "/";
}

// What the user does in the edit dialog once it is open.
struct DialogScript {
    std::string number;   // typed into the number field, one character at a time
    std::string ope;      // typed into the operator field (empty: left alone)
    std::uint8_t end = 0; // 0 OK, 1 close box, 2 Escape, 3 Enter twice
};

DialogScript ReadScript(Reader& in) {
    DialogScript s;
    const std::uint8_t what = in.Byte();
    s.number = (what & 1) ? in.Text(24) : std::string();
    s.ope = (what & 2) ? in.Text(4) : std::string();
    s.end = static_cast<std::uint8_t>((what >> 2) % 4);
    return s;
}

// Types each character of a text as a key press carrying it (QTest::keyClicks knows only
// the characters of a US keyboard).
void TypeText(QWidget* w, const std::string& utf8) {
    const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        const int code = (u > 0x20 && u < 0x7F) ? QChar(c).toUpper().unicode()
                         : u == 0x20            ? static_cast<int>(Qt::Key_Space)
                                                : static_cast<int>(Qt::Key_unknown);
        QTest::sendKeyEvent(QTest::Click, w, static_cast<Qt::Key>(code), QString(c),
                            Qt::NoModifier);
    }
}

// Runs the script on the dialog: both fields typed into, then the dialog closed one way or
// another. The caller checks what it wrote after it has closed.
void PlayScript(TEForm& d, const DialogScript& s) {
    if (!s.number.empty()) {
        d.NumEdit->selectAll();
        TypeText(d.NumEdit, s.number);
    }
    if (!s.ope.empty()) {
        d.OpeEdit->lineEdit()->selectAll();
        TypeText(d.OpeEdit->lineEdit(), s.ope);
    }
    const QString ope = d.OpeEdit->currentText();
    FUZZ_CHECK(ope == "＋" || ope == "－" || ope == "×" || ope == "÷",
               "the operator field holds '" + ope.toStdString() + "'");
    switch (s.end) {
    case 0:
        d.OKClick();
        break;
    case 1:
        d.reject();
        break;
    case 2:
        QTest::keyClick(&d, Qt::Key_Escape);
        break;
    default:
        QTest::keyClick(d.OpeEdit->lineEdit(), Qt::Key_Return);
        QTest::keyClick(d.NumEdit, Qt::Key_Return);
        break;
    }
    if (d.isVisible()) d.reject(); // whatever the keys did, the dialog must not stay open
}

// What the edit dialog was opened on.
struct DialogSeen {
    bool opened = false;
    std::size_t index = 0;
    std::string stored; // the entry's number when the dialog opened
};

// Runs `op` while a timer waits for the edit dialog to appear and plays the script on it.
template <class Op> DialogSeen WithDialog(CalcEngine& e, const DialogScript& script, Op op) {
    QTimer timer;
    timer.setInterval(0);
    DialogSeen seen;
    QObject::connect(&timer, &QTimer::timeout, &timer, [&] {
        if (auto* d = dynamic_cast<TEForm*>(QApplication::activeModalWidget())) {
            if (seen.opened) {
                d->reject();
                return;
            }
            seen.opened = true;
            seen.index = d->EditIndex();
            if (seen.index < e.HistoryCount()) seen.stored = e.HistNumber(seen.index);
            PlayScript(*d, script);
        }
    });
    timer.start();
    op();
    timer.stop();
    return seen;
}

void CheckWindow(Windows& w, const char* after) {
    const CalcEngine& e = w.Engine();
    const std::size_t n = e.HistoryCount();
    const std::string where = std::string(" after ") + after;
    FUZZ_CHECK(w.hist->Model().rowCount() == static_cast<int>(n),
               "the list shows " + std::to_string(w.hist->Model().rowCount()) + " rows of " +
                   std::to_string(n) + where);
    const int sel = w.hist->SelectedRow();
    FUZZ_CHECK(sel >= -1 && sel < static_cast<int>(n),
               "selected row " + std::to_string(sel) + " of " + std::to_string(n) + where);
    for (std::size_t i = 0; i < n; ++i) {
        if (n > 64 && i > 2 && i + 3 < n && static_cast<int>(i) != sel) continue;
        FUZZ_CHECK(w.hist->Model().RowText(static_cast<int>(i)).toStdString() == e.HistRow(i),
                   "row " + std::to_string(i) + " of the list differs" + where);
        const std::string ope(1, e.HistOpe(i));
        FUZZ_CHECK(IsOperator(ope), "row " + std::to_string(i) + " operator '" + ope + "'" + where);
    }
    const TCalcNum* regs[] = {&e.InNum, &e.ResNum, &e.DispNum, &e.GTNum, &e.MemNum};
    for (const TCalcNum* r : regs)
        FUZZ_CHECK(TextWidth(r->Text) <= kCalcNumTextMax,
                   "a register holds '" + r->Text + "'" + where);
}

// An entry the dialog has written (or left) at row i.
void CheckEditedEntry(Windows& w, std::size_t i, const std::string& before) {
    const CalcEngine& e = w.Engine();
    if (i >= e.HistoryCount()) return;
    const std::string num = e.HistNumber(i);
    FUZZ_CHECK(num == before || IsDialogNumber(num),
               "the dialog stored '" + num + "' over '" + before + "'");
    const char ope = e.HistOpe(i);
    FUZZ_CHECK(e.HistRow(i) == HistoryRowText(ope, num) || num == before,
               "row " + std::to_string(i) + " '" + e.HistRow(i) + "' does not show '" + num +
                   "'");
}

// The chain folded left to right, as the re-total must show it.
void CheckRetotal(Windows& w, int messagesBefore) {
    const CalcEngine& e = w.Engine();
    if (w.main->Option().HistSet != 2 || w.messages != messagesBefore) return;
    TCalcNum r;
    for (std::size_t i = 0; i < e.HistoryCount(); ++i) {
        TCalcNum n{CutText(e.HistNumber(i), kCalcNumTextMax), false};
        const char ope = e.HistOpe(i);
        std::string bad;
        FUZZ_CHECK(CalcNumbers(r, n, ope, ' ', w.main->Option().Acount, &bad),
                   "a row that is not a number was totalled without a message: '" + bad + "'");
    }
    FUZZ_CHECK(e.ResNum == r,
               "the re-total holds '" + e.ResNum.Text + "', the fold gives '" + r.Text + "'");
    const std::string& caption = e.Display().Caption;
    if (r.Error) {
        FUZZ_CHECK(caption == "- E -  ", "a failed re-total shows '" + caption + "'");
    } else {
        std::string shown = TrimLeftBlanks(r.Text);
        if (shown.find('.') == std::string::npos) shown += '.';
        if (shown == ".") shown = "0.";
        std::string want = InsertThousands(shown);
        if (e.StyledFont()) want += ' ';
        FUZZ_CHECK(caption == want, "the re-total shows '" + caption + "' for '" + r.Text + "'");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Windows& w = Shared();
    CalcEngine& e = w.Engine();
    TOption& option = w.main->Option();
    WindowOptions& winOptions = w.main->WinOptions();
    Reader in(data, size);

    // A fresh start: options from the first byte, then the lists from arbitrary entries.
    const std::uint8_t flags = in.Byte();
    option.HistSet = static_cast<std::uint8_t>(flags % 3);
    option.Acount = (flags >> 2) & 1;
    winOptions.Cycle = (flags >> 3) & 1;
    winOptions.StayHist = (flags >> 4) & 1;
    w.main->Status().UseNumKey = (flags >> 5) & 1;
    e.ClearHistory();
    e.MemClear();
    e.AllClear();
    w.hist->SelectRow(-1);
    w.hist->show();
    const std::size_t rows = in.Byte() % 24;
    for (std::size_t i = 0; i < rows; ++i) {
        const char ope = "+-*/"[in.Byte() % 4];
        e.InsertHistoryEntry(e.HistoryCount());
        // Texts reach the lists as UTF-8 (the dialog and the clipboard give nothing else).
        const std::string raw = in.Text(26);
        e.ReplaceHistoryEntry(
            e.HistoryCount() - 1,
            QString::fromUtf8(raw.data(), static_cast<qsizetype>(raw.size())).toStdString(), ope);
    }
    CheckWindow(w, "building the lists");

    static const int kCalcKeys[] = {48,  49,  50,  53,  57,  96, 101, 105, 106,
                                    107, 109, 111, 110, 190, 8,  35,  36,  13 /* Enter: recall */};
    while (in.More()) {
        const std::uint8_t op = in.Byte();
        const int messagesBefore = w.messages;
        const char* name = "?";
        switch (op % 16) {
        case 0:
            name = "a selection";
            w.hist->SelectRow(static_cast<int>(in.Byte() % (e.HistoryCount() + 2)) - 1);
            break;
        case 1:
            name = "Enter";
            w.hist->FormKeyDown(vk::Return, 0);
            break;
        case 2:
        case 7: {
            const bool insert = op % 16 == 7;
            name = insert ? "Insert" : "Space";
            const DialogScript script = ReadScript(in);
            const int sel = w.hist->SelectedRow();
            const DialogSeen seen = WithDialog(
                e, script, [&] { w.hist->FormKeyDown(insert ? vk::Insert : vk::Space, 0); });
            const int after = w.hist->SelectedRow();
            if (seen.opened) {
                FUZZ_CHECK(!insert || seen.stored == "0",
                           "Insert opened the dialog on '" + seen.stored + "', not on a new 0");
                CheckEditedEntry(w, seen.index, seen.stored);
            }
            // The editor and the re-total run only for a selected row (for Correct the equals
            // step may record a typed number and select it).
            if (insert ? sel >= 0 : after >= 0) CheckRetotal(w, messagesBefore);
            break;
        }
        case 3:
            name = "Up";
            w.hist->FormKeyDown(vk::Up, 0);
            break;
        case 4:
            name = "Down";
            w.hist->FormKeyDown(vk::Down, 0);
            break;
        case 5: {
            name = "Shift+Up";
            const int i = w.hist->SelectedRow(); // read before the equals step
            w.hist->FormKeyDown(vk::Up, ssShift);
            if (i > 0) CheckRetotal(w, messagesBefore);
            break;
        }
        case 6: {
            name = "Shift+Down";
            const int i = w.hist->SelectedRow();
            w.hist->FormKeyDown(vk::Down, ssShift);
            if (i >= 0 && i + 1 < static_cast<int>(e.HistoryCount()))
                CheckRetotal(w, messagesBefore);
            break;
        }
        case 8: {
            name = "Delete";
            const std::size_t before = e.HistoryCount();
            w.hist->FormKeyDown(vk::Delete, 0);
            if (before <= 1) {
                FUZZ_CHECK(e.HistoryCount() == 0, "Delete of the last entry left rows");
                FUZZ_CHECK(e.InNum.Text.empty(), "Delete of the last entry kept the entry");
            }
            break;
        }
        case 9:
            name = "Copy";
            w.hist->CopySelected();
            break;
        case 10:
            name = "a re-total";
            w.hist->RecalcHistory();
            CheckRetotal(w, messagesBefore);
            break;
        case 11:
        case 12: {
            name = "a calculator key";
            const int code = kCalcKeys[in.Byte() % std::size(kCalcKeys)];
            w.hist->FormKeyDown(code, 0);
            break;
        }
        case 13: {
            name = "the dialog alone";
            const int sel = w.hist->SelectedRow();
            if (sel < 0) break;
            const std::string before = e.HistNumber(static_cast<std::size_t>(sel));
            TEForm d(w.main.get(), e, option, w.main->Status(), static_cast<std::size_t>(sel),
                     THForm::kEditCorrect);
            PlayScript(d, ReadScript(in));
            CheckEditedEntry(w, static_cast<std::size_t>(sel), before);
            break;
        }
        case 14: {
            name = "an option";
            const std::uint8_t b = in.Byte();
            option.HistSet = static_cast<std::uint8_t>(b % 3);
            winOptions.Cycle = (b >> 2) & 1;
            winOptions.StayHist = (b >> 3) & 1;
            break;
        }
        default: {
            name = "a paste";
            const std::string text = in.Text(30);
            QGuiApplication::clipboard()->setText(
                QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
            w.main->ExecCommand(42);
            break;
        }
        }
        CheckWindow(w, name);
    }
    return 0;
}
