#include "Fonts.h"

#include <QFont>

#include <algorithm>

namespace bansho::platform {

namespace {

struct Substitution {
    const char* windowsFace; // UTF-8
    const char* installed[3];
};

// The proportional face first for the proportional Windows faces, the fixed-pitch one for
// the fixed-pitch face; then the other Japanese faces, so a missing one still leaves Japanese.
// The window texts (メイリオ) take the IPA proportional face too: the number is drawn in it
// already, so the captions cost no second face. Noto Sans CJK is a large CFF collection whose
// loading alone took a third of the start-up's time and about 4 MB; it stays the fallback.
constexpr Substitution kSubstitutions[] = {
    {"ＭＳ Ｐゴシック", {"IPAPGothic", "Noto Sans CJK JP", "IPAGothic"}},
    {"MS PGothic", {"IPAPGothic", "Noto Sans CJK JP", "IPAGothic"}},
    {"ＭＳ ゴシック", {"IPAGothic", "Noto Sans Mono CJK JP", "IPAPGothic"}},
    {"MS Gothic", {"IPAGothic", "Noto Sans Mono CJK JP", "IPAPGothic"}},
    {"メイリオ", {"IPAPGothic", "Noto Sans CJK JP", "IPAGothic"}},
    {"Meiryo", {"IPAPGothic", "Noto Sans CJK JP", "IPAGothic"}},
};

} // namespace

QStringList SubstituteFamilies(const QString& windowsFace) {
    for (const Substitution& s : kSubstitutions) {
        if (windowsFace.compare(QString::fromUtf8(s.windowsFace), Qt::CaseInsensitive) == 0) {
            QStringList list;
            for (const char* face : s.installed)
                list << QString::fromUtf8(face);
            return list;
        }
    }
    return {};
}

void InstallFontSubstitutions() {
    static const bool installed = [] {
        for (const Substitution& s : kSubstitutions) {
            const QString face = QString::fromUtf8(s.windowsFace);
            QFont::insertSubstitutions(face, SubstituteFamilies(face));
        }
        return true;
    }();
    (void)installed;
}

QFont PixelFont(const QString& face, int px) {
    // A Windows face is asked for by the installed faces that stand in for it: the toolkit
    // then looks up one family and its fallbacks, not the missing name and its substitutes.
    QFont f;
    const QStringList installed = SubstituteFamilies(face);
    f.setFamilies(installed.isEmpty() ? QStringList{face} : installed);
    // The Japanese gothic faces carry their own hinting for small sizes, drawn crisply as on
    // the system they were made for. The automatic hinter would instead study some seventy
    // reference ideographs of the face before drawing the first one: a megabyte of the font
    // file read in and a few milliseconds at start, for softer captions.
    f.setHintingPreference(QFont::PreferFullHinting);
    f.setPixelSize(std::max(1, px));
    return f;
}

} // namespace bansho::platform
