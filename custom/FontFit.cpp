#include "FontFit.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QLabel>
#include <QSet>

#ifdef BANSHO_HAVE_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

#include <algorithm>
#include <cstdlib>

namespace bansho {

int FitFontHeight(int startHeight, int width, const std::function<int(int)>& textWidth) {
    int h = std::clamp(std::abs(startHeight), kFitMinHeight, kFitMaxHeight);
    if (textWidth(h) < width) {
        while (h + 2 <= kFitMaxHeight) {
            h += 2;
            if (textWidth(h) >= width) break;
        }
    } else {
        while (h - 2 >= kFitMinHeight && textWidth(h) > width)
            h -= 2;
    }
    return h;
}

void FitFontToWidth(QLabel* label, const QString& text) {
    QFont font = label->font();
    const int start = font.pixelSize() > 0 ? font.pixelSize() : QFontMetrics(font).height();
    const int h = FitFontHeight(start, label->width(), [&](int px) {
        QFont f(font);
        f.setPixelSize(px);
        return QFontMetrics(f).horizontalAdvance(text);
    });
    font.setPixelSize(h);
    label->setFont(font);
}

namespace {

// "C059 [urw]" is the face "C059" of the foundry "urw".
QString WithoutFoundry(const QString& family) {
    const qsizetype open = family.lastIndexOf(QLatin1String(" ["));
    return open > 0 && family.endsWith(QLatin1Char(']')) ? family.left(open) : family;
}

#ifdef BANSHO_HAVE_FONTCONFIG
// Every family name of every outline font fontconfig knows: the faces really installed.
QSet<QString> InstalledOutlineFaces() {
    QSet<QString> names;
    FcPattern* pattern = FcPatternBuild(nullptr, FC_OUTLINE, FcTypeBool, FcTrue, nullptr);
    FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, nullptr);
    if (FcFontSet* set = FcFontList(nullptr, pattern, objects)) {
        for (int i = 0; i < set->nfont; ++i) {
            FcChar8* name = nullptr;
            for (int k = 0; FcPatternGetString(set->fonts[i], FC_FAMILY, k, &name) == FcResultMatch;
                 ++k)
                names.insert(QString::fromUtf8(reinterpret_cast<const char*>(name)));
        }
        FcFontSetDestroy(set);
    }
    FcObjectSetDestroy(objects);
    FcPatternDestroy(pattern);
    return names;
}
#endif

} // namespace

QStringList UniqueFaces(const QStringList& families,
                        const std::function<bool(const QString&)>& installed) {
    QStringList faces;
    for (const QString& family : families) {
        const QString face = WithoutFoundry(family);
        if (face.startsWith(QLatin1Char('@')) || faces.contains(face)) continue;
        if (!installed(face)) continue;
        faces << face;
    }
    return faces;
}

QStringList ListScreenFonts() {
#ifdef BANSHO_HAVE_FONTCONFIG
    const QSet<QString> installed = InstalledOutlineFaces();
    const auto isInstalled = [&](const QString& face) {
        return installed.contains(face) && QFontDatabase::isScalable(face);
    };
#else
    // Qt's own names for the generic families are all that can be told apart without
    // fontconfig.
    const auto isInstalled = [](const QString& face) {
        static const QStringList generic = {QStringLiteral("Sans Serif"), QStringLiteral("Serif"),
                                            QStringLiteral("Monospace")};
        return !generic.contains(face) && QFontDatabase::isScalable(face);
    };
#endif
    return UniqueFaces(QFontDatabase::families(), isInstalled);
}

void ListScreenFonts(QComboBox* list) {
    list->clear();
    list->addItems(ListScreenFonts());
}

} // namespace bansho
