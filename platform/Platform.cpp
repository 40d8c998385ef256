#include "Platform.h"

#include "Fonts.h"
#include "KeyMapping.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <memory>

namespace bansho::platform {

void PlatformStartup() {
    InstallFontSubstitutions();
    SetFallbackLayout(SystemKeyLayout());
}

bool LoadQtTranslations() {
    static std::unique_ptr<QTranslator> installed;
    static QString loadedFor;
    static bool found = false;
    const QLocale locale;
    const QString name = locale.uiLanguages().join(QLatin1Char(','));
    if (installed && name == loadedFor) return found;
    if (installed) QCoreApplication::removeTranslator(installed.get());
    installed = std::make_unique<QTranslator>();
    loadedFor = name;
    found = installed->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                            QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
            QCoreApplication::installTranslator(installed.get());
    return found;
}

} // namespace bansho::platform
