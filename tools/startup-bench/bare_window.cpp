// The reference: a bare Qt 6 window showing one label.
#include <QApplication>
#include <QLabel>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QLabel label(argc > 1 ? QString::fromUtf8(argv[1]) : QStringLiteral("0."));
    label.resize(600, 109);
    label.show();
    return app.exec();
}
