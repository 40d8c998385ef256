// The main block's operator keys as an X server delivers them (a US keyboard, Shift where
// the layout needs it), typed by xdotool into the real main window.
#include "TMForm.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>

#include <X11/Xlib.h>

using namespace bansho;

namespace {

bool Xdotool(const QStringList& args) {
    return QProcess::execute(QStringLiteral("xdotool"), args) == 0;
}

// On a busy machine a key held between xdotool's press and release would repeat ("122*3"):
// the private server repeats no key while the test types.
class NoAutoRepeat {
public:
    NoAutoRepeat() : dpy_(XOpenDisplay(nullptr)) {
        if (!dpy_) return;
        XAutoRepeatOff(dpy_);
        XSync(dpy_, False);
    }
    ~NoAutoRepeat() {
        if (!dpy_) return;
        XAutoRepeatOn(dpy_);
        XCloseDisplay(dpy_);
    }
    bool Ok() const { return dpy_ != nullptr; }

private:
    Display* dpy_;
};

TEST(MainBlockKeys, OperatorsTypedOnAUsKeyboardCalculate) {
    const NoAutoRepeat noRepeat;
    ASSERT_TRUE(noRepeat.Ok());
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    TMForm main(std::filesystem::path(dir.path().toStdString()) / "bansho.ENV");
    main.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    main.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    const struct {
        const char* typed;
        const char* shown;
    } rows[] = {
        {"12*3", "36."},   // Shift+8 multiplies; it never enters an 8
        {"12+3", "15."},   // Shift+= adds
        {"12-3", "9."},    // - subtracts
        {"12/3", "4."},    // / divides
        {"7*6-2=", "40."}, // = is equals
        {"1!2", "12."},    // Shift+1 enters nothing
    };
    for (const auto& r : rows) {
        ASSERT_TRUE(Xdotool({QStringLiteral("key"), QStringLiteral("Home")}));
        ASSERT_TRUE(Xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("20"),
                             QString::fromLatin1(r.typed)}));
        if (QByteArray(r.typed).back() != '=') {
            ASSERT_TRUE(Xdotool({QStringLiteral("key"), QStringLiteral("Return")}));
        }
        const QString want = QString::fromLatin1(r.shown);
        EXPECT_TRUE(QTest::qWaitFor([&] { return main.DNumber->text() == want; }, 10000))
            << r.typed << " shows " << main.DNumber->text().toStdString();
    }
    main.hide();
}

} // namespace
