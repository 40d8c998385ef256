#pragma once
// The Windows Japanese faces the settings name, mapped to installed equivalents.
#include <QFont>
#include <QString>
#include <QStringList>

namespace bansho::platform {

// Installs the substitutions once (later calls do nothing):
// "ＭＳ Ｐゴシック"/"MS PGothic" -> IPAPGothic, "ＭＳ ゴシック"/"MS Gothic" -> IPAGothic,
// "メイリオ"/"Meiryo" -> "Noto Sans CJK JP"; each followed by the other Japanese faces.
void InstallFontSubstitutions();

// The installed faces a Windows face name stands for, best first (empty when none).
QStringList SubstituteFamilies(const QString& windowsFace);

// A font of the face at a size in pixels (at least one), as the windows are designed in.
QFont PixelFont(const QString& face, int px);

} // namespace bansho::platform
