// Shows the customization dialog on one page, or the NUM-key dialog, over a real main window,
// for looking at under a display server: custom_preview 0|1|2|3|num [F] (F: the key page's
// function-key tab). Not a test; closes when the dialog does.
#include "Fonts.h"
#include "MessageBoxes.h"
#include "TCForm.h"
#include "TKForm.h"
#include "TMForm.h"

#include <QApplication>
#include <QTabWidget>
#include <QTemporaryDir>

using namespace bansho;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    platform::InstallFontSubstitutions();
    QTemporaryDir dir;
    TMForm main(std::filesystem::path(dir.path().toStdString()) / "preview.ENV");
    main.show();
    const QString which = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("0");
    if (which == QLatin1String("num")) {
        TKForm dlg(main.Option(), &main);
        return dlg.exec();
    }
    TCForm dlg(main);
    dlg.Custom->setCurrentIndex(which.toInt());
    if (argc > 2) dlg.KFLCtrl->setCurrentWidget(dlg.TabFList);
    return dlg.exec();
}
