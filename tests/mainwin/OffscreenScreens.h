#pragma once
// The offscreen platform with screens of given places and sizes (its default is one screen of
// 800 x 600, narrower than the window's design place and width together).
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QRect>
#include <QString>

#include <initializer_list>

namespace bansho::testing {

// Writes the screen list into `dir` and selects the offscreen platform with it; call before
// QApplication exists. The first screen is the primary one.
inline void UseOffscreenScreens(const QString& dir, std::initializer_list<QRect> screens) {
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

} // namespace bansho::testing
