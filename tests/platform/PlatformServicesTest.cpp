// Beep, message boxes, font substitution and window helpers.
#include "Beep.h"
#include "Fonts.h"
#include "MessageBoxes.h"
#include "WindowHelpers.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

using namespace bansho;

using namespace bansho::platform;

namespace {

// Counts beeps instead of playing them.
class BeepCounter {
public:
    BeepCounter() {
        previous_ = SetBeepHook([this] { ++count; });
    }
    ~BeepCounter() { SetBeepHook(previous_); }
    int count = 0;

private:
    BeepHook previous_;
};

// Answers every box and remembers what was asked.
class MessageRecorder {
public:
    explicit MessageRecorder(bool answer) {
        previous_ = SetMessageHook([this, answer](const MessageRequest& r) {
            requests.push_back(r);
            return answer;
        });
    }
    ~MessageRecorder() { SetMessageHook(previous_); }
    std::vector<MessageRequest> requests;

private:
    MessageHook previous_;
};

} // namespace

TEST(Beep, HookReplacesTheSoundAndCanBeRestored) {
    int outer = 0;
    const BeepHook before = SetBeepHook([&] { ++outer; });
    {
        BeepCounter counter;
        Beep();
        Beep();
        EXPECT_EQ(counter.count, 2);
    }
    Beep();
    EXPECT_EQ(outer, 1); // the previous hook is back
    SetBeepHook(before);
}

// The real beep, in a process of its own: on a machine without a sound card (this one, and
// CI) three beeps write at most one line, and nothing of the sound system's own complaints.
TEST(Beep, RealBeepWithoutASoundCardSaysSoAtMostOnce) {
    if (qEnvironmentVariableIsSet("BANSHO_REAL_BEEP_CHILD")) {
        for (int i = 0; i < 3; ++i) Beep();
        return;
    }
    QTemporaryDir runtime; // no sound server lives here
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("BANSHO_REAL_BEEP_CHILD"), QStringLiteral("1"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    env.remove(QStringLiteral("PULSE_SERVER"));
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=Beep.RealBeepWithoutASoundCardSaysSoAtMostOnce")});
    ASSERT_TRUE(child.waitForFinished(60000));
    ASSERT_EQ(child.exitCode(), 0) << child.readAllStandardOutput().toStdString();
    const QString err = QString::fromUtf8(child.readAllStandardError());
    EXPECT_FALSE(err.contains(QStringLiteral("ALSA"))) << err.toStdString();
    EXPECT_LE(err.count(QStringLiteral("bansho:")), 1) << err.toStdString();
}

TEST(MessageBoxes, AskYesNoBeepsThenAsksWithTitleKakunin) {
    BeepCounter beeps;
    QWidget parent;
    {
        MessageRecorder yes(true);
        EXPECT_TRUE(AskYesNo(&parent, QStringLiteral("よろしいですか？")));
        ASSERT_EQ(yes.requests.size(), 1u);
        EXPECT_EQ(yes.requests[0].kind, MessageKind::Question);
        EXPECT_EQ(yes.requests[0].title, QStringLiteral("確認"));
        EXPECT_EQ(yes.requests[0].text, QStringLiteral("よろしいですか？"));
        EXPECT_EQ(yes.requests[0].parent, &parent);
    }
    {
        MessageRecorder no(false);
        EXPECT_FALSE(AskYesNo(&parent, QStringLiteral("x")));
    }
    EXPECT_EQ(beeps.count, 2);
}

TEST(MessageBoxes, ErrorAndInformationBoxesTakeTheProgramTitleByDefault) {
    QApplication::setApplicationDisplayName(QStringLiteral(" バンショ v3.22"));
    MessageRecorder rec(true);
    ShowError(nullptr, QStringLiteral("'1.2.3' は浮動小数点数ではありません."));
    ShowInformation(nullptr, QStringLiteral("戻しました。"));
    ShowMessage(nullptr, QStringLiteral("正しい数値を入力して下さい"));
    ShowError(nullptr, QStringLiteral("e"), QStringLiteral("題"));
    ASSERT_EQ(rec.requests.size(), 4u);
    EXPECT_EQ(rec.requests[0].kind, MessageKind::Error);
    EXPECT_EQ(rec.requests[0].title, QStringLiteral(" バンショ v3.22"));
    EXPECT_EQ(rec.requests[1].kind, MessageKind::Information);
    EXPECT_EQ(rec.requests[1].title, QStringLiteral(" バンショ v3.22"));
    EXPECT_EQ(rec.requests[2].kind, MessageKind::Plain);
    EXPECT_EQ(rec.requests[3].title, QStringLiteral("題"));
}

namespace {

// Answers the real question box that AskYesNo opens, after checking what it shows.
bool AnswerRealBox(const QString& buttonText) {
    bool checked = false;
    QTimer::singleShot(0, qApp, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        EXPECT_EQ(box->windowTitle(), QStringLiteral("確認"));
        EXPECT_EQ(box->icon(), QMessageBox::Question);
        EXPECT_EQ(box->text(), QStringLiteral("消しますか？"));
        QStringList texts;
        QPushButton* target = nullptr;
        for (QAbstractButton* b : box->buttons()) {
            texts << b->text();
            if (b->text() == buttonText) target = qobject_cast<QPushButton*>(b);
        }
        texts.sort();
        EXPECT_EQ(texts, QStringList({QStringLiteral("いいえ(&N)"), QStringLiteral("はい(&Y)")}));
        checked = true;
        if (target)
            target->click();
        else
            box->reject();
    });
    const bool answer = AskYesNo(nullptr, QStringLiteral("消しますか？"));
    EXPECT_TRUE(checked);
    return answer;
}

} // namespace

TEST(MessageBoxes, RealQuestionBoxHasTheJapaneseButtonsAndOnlyYesIsTrue) {
    BeepCounter beeps;
    EXPECT_TRUE(AnswerRealBox(QStringLiteral("はい(&Y)")));
    EXPECT_FALSE(AnswerRealBox(QStringLiteral("いいえ(&N)")));
    EXPECT_FALSE(AnswerRealBox(QString())); // closed without an answer
    EXPECT_EQ(beeps.count, 3);
}

// Every real box opens centred on its owner: the owner's window once shown or placed, the
// window it belongs to while it is still being built (a dialog that checks its fields
// before it is placed), and the screen when there is no owner.
TEST(MessageBoxes, RealBoxesOpenCentredOnTheirOwner) {
    QWidget main;
    main.setGeometry(300, 250, 420, 220);
    main.show();
    QApplication::processEvents();
    ASSERT_TRUE(main.isVisible());
    QWidget unplaced(&main, Qt::Dialog); // not shown, never moved: at the screen's corner
    unplaced.resize(379, 46);
    QWidget placed(&main, Qt::Dialog); // placed, not yet shown
    placed.setGeometry(40, 60, 300, 120);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const struct {
        const char* name;
        QWidget* owner;
        QRect around;
    } cases[] = {
        {"a shown owner", &main, main.frameGeometry()},
        {"an owner still being built: its window's owner", &unplaced, main.frameGeometry()},
        {"an owner placed but not yet shown", &placed, placed.frameGeometry()},
        {"no owner: the screen", nullptr, screen},
    };
    for (const auto& c : cases) {
        QRect box;
        QTimer::singleShot(0, qApp, [&] {
            if (QWidget* w = QApplication::activeModalWidget()) {
                box = w->frameGeometry();
                w->close();
            }
        });
        ShowMessage(c.owner, QStringLiteral("正しい数値を入力して下さい"), QStringLiteral("題"));
        ASSERT_FALSE(box.isEmpty()) << c.name;
        EXPECT_TRUE(screen.contains(box)) << c.name;
        EXPECT_LE(std::abs(box.center().x() - c.around.center().x()), 1)
            << c.name << " box " << box.x() << "," << box.y() << " " << box.width() << "x"
            << box.height() << " around " << c.around.x() << "," << c.around.y() << " "
            << c.around.width() << "x" << c.around.height();
        EXPECT_LE(std::abs(box.center().y() - c.around.center().y()), 1) << c.name;
    }
}

TEST(Fonts, WindowsFacesNameInstalledJapaneseFaces) {
    struct Row {
        const char* face;
        const char* first;
    } rows[] = {
        {"ＭＳ Ｐゴシック", "IPAPGothic"}, {"MS PGothic", "IPAPGothic"},
        {"ＭＳ ゴシック", "IPAGothic"},    {"MS Gothic", "IPAGothic"},
        {"メイリオ", "IPAPGothic"},        {"Meiryo", "IPAPGothic"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.face);
        const QStringList list = SubstituteFamilies(QString::fromUtf8(r.face));
        ASSERT_FALSE(list.isEmpty());
        EXPECT_EQ(list.first(), QString::fromUtf8(r.first));
    }
    EXPECT_TRUE(SubstituteFamilies(QStringLiteral("Arial")).isEmpty());
}

TEST(Fonts, SubstitutedFacesAreWhatQtOpens) {
    InstallFontSubstitutions();
    InstallFontSubstitutions(); // a second call changes nothing
    EXPECT_EQ(
        QFont::substitutes(QStringLiteral("ＭＳ ゴシック")).count(QStringLiteral("ipagothic")), 1);
    const QStringList families = QFontDatabase::families();
    if (!families.contains(QStringLiteral("IPAPGothic")) ||
        !families.contains(QStringLiteral("IPAGothic")))
        GTEST_SKIP() << "fonts-ipafont-gothic is not installed";
    EXPECT_EQ(QFontInfo(QFont(QStringLiteral("ＭＳ Ｐゴシック"), 12)).family(),
              QStringLiteral("IPAPGothic"));
    EXPECT_EQ(QFontInfo(QFont(QStringLiteral("ＭＳ ゴシック"), 12)).family(),
              QStringLiteral("IPAGothic"));
    EXPECT_EQ(QFontInfo(QFont(QStringLiteral("MS Gothic"), 12)).family(),
              QStringLiteral("IPAGothic"));
    // The window texts share the number's face, so no second Japanese face is loaded.
    EXPECT_EQ(QFontInfo(QFont(QStringLiteral("メイリオ"), 12)).family(),
              QStringLiteral("IPAPGothic"));
}

TEST(WindowHelpers, OpacityIsSetIn256StepsAndClamped) {
    QWidget w;
    w.show();
    SetWindowAlpha(&w, 128);
    EXPECT_EQ(WindowAlpha(&w), 128);
    SetWindowAlpha(&w, 300);
    EXPECT_EQ(WindowAlpha(&w), 255);
    SetWindowAlpha(&w, -5);
    EXPECT_EQ(WindowAlpha(&w), 0);
}

TEST(WindowHelpers, StayOnTopNeitherHidesNorActivatesTheWindow) {
    QWidget main, other;
    main.show();
    other.show();
    QApplication::setActiveWindow(&main);
    QWindow* handle = other.windowHandle();
    ASSERT_NE(handle, nullptr);
    SetStayOnTop(&other, true);
    EXPECT_TRUE(IsStayOnTop(&other));
    EXPECT_TRUE(handle->flags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(other.isVisible());
    EXPECT_EQ(other.windowHandle(), handle); // not re-created
    EXPECT_EQ(QApplication::activeWindow(), &main);
    SetStayOnTop(&other, false);
    EXPECT_FALSE(IsStayOnTop(&other));
    EXPECT_TRUE(other.isVisible());
}

TEST(WindowHelpers, StayOnTopBeforeTheWindowExists) {
    QWidget w;
    SetStayOnTop(&w, true);
    EXPECT_TRUE(IsStayOnTop(&w));
    EXPECT_FALSE(w.isVisible());
}

TEST(WindowHelpers, OffscreenIsNotWayland) {
    EXPECT_FALSE(IsWayland());
    EXPECT_TRUE(CanSetOpacity());
    EXPECT_TRUE(CanStayOnTop());
}

namespace {

// Sets or clears environment variables for one test and puts them back afterwards.
class EnvGuard {
public:
    explicit EnvGuard(std::initializer_list<const char*> names) {
        for (const char* n : names)
            saved_.push_back({n, qgetenv(n), qEnvironmentVariableIsSet(n)});
    }
    ~EnvGuard() {
        for (const Saved& s : saved_) {
            if (s.set)
                qputenv(s.name, s.value);
            else
                qunsetenv(s.name);
        }
    }

private:
    struct Saved {
        const char* name;
        QByteArray value;
        bool set;
    };
    std::vector<Saved> saved_;
};

} // namespace

TEST(WindowHelpers, PreferXWaylandOnlyWhenTheUserChoseNothing) {
    EnvGuard guard({"QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "DISPLAY"});
    char prog[] = "bansho";
    char platformArg[] = "-platform";
    char wayland[] = "wayland";
    char* plain[] = {prog};
    char* chosen[] = {prog, platformArg, wayland};

    qunsetenv("QT_QPA_PLATFORM");
    qputenv("WAYLAND_DISPLAY", "wayland-0");
    qputenv("DISPLAY", ":0");
    PreferXWayland(1, plain);
    EXPECT_EQ(qgetenv("QT_QPA_PLATFORM"), QByteArray("xcb")) << "Wayland session with XWayland";

    qunsetenv("QT_QPA_PLATFORM");
    PreferXWayland(3, chosen);
    EXPECT_FALSE(qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) << "-platform given";

    qputenv("QT_QPA_PLATFORM", "wayland");
    PreferXWayland(1, plain);
    EXPECT_EQ(qgetenv("QT_QPA_PLATFORM"), QByteArray("wayland")) << "platform set by the user";

    qunsetenv("QT_QPA_PLATFORM");
    qunsetenv("DISPLAY");
    PreferXWayland(1, plain);
    EXPECT_FALSE(qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) << "no XWayland";

    qunsetenv("WAYLAND_DISPLAY");
    qputenv("DISPLAY", ":0");
    PreferXWayland(1, plain);
    EXPECT_FALSE(qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) << "plain X11 session";
}
