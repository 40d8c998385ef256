#include "WindowTestRig.h"

#include "Beep.h"
#include "Fonts.h"
#include "MessageBoxes.h"

#include <QApplication>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace bansho::testing {

namespace {

// Writes the screen list into `dir` and selects the offscreen platform with it; call before
// QApplication exists.
void UseOffscreenScreens(const QString& dir, std::initializer_list<QRect> screens) {
    QByteArray json = "{\"windowFrameMargins\": true, \"screens\": [";
    int i = 0;
    for (const QRect& r : screens) {
        if (i) json += ',';
        json +=
            QStringLiteral(R"({"name": "screen%1", "x": %2, "y": %3, "width": %4, "height": %5})")
                .arg(i++)
                .arg(r.x())
                .arg(r.y())
                .arg(r.width())
                .arg(r.height())
                .toUtf8();
    }
    json += "]}";
    const QString path = QDir(dir).filePath(QStringLiteral("screens.json"));
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(json);
    qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + path).toUtf8());
}

} // namespace

int RunWindowTests(int& argc, char** argv, std::initializer_list<QRect> screens) {
    QTemporaryDir screenDir;
    UseOffscreenScreens(screenDir.path(), screens);
    QApplication app(argc, argv);
    platform::InstallFontSubstitutions();
    platform::SetBeepHook([] {});
    platform::SetMessageHook([](const platform::MessageRequest&) { return false; });
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

} // namespace bansho::testing
