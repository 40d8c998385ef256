#include "TAForm.h"

#include "JpegDecoder.h"
#include "LinkLabel.h"
#include "MessageBoxes.h"
#include "ProgramPicture.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>

#include <algorithm>
#include <span>

namespace bansho {

#ifndef BANSHO_HOMEPAGE_URL
#define BANSHO_HOMEPAGE_URL ""
#endif

namespace {

constexpr int kClientWidth = 322;
constexpr int kClientHeight = 178;

constexpr const char* kGuideName = "bansho-guide.html";

} // namespace

QString TAForm::GuideFileFor(const QString& exePath) {
    const QDir exeDir = QFileInfo(exePath).absoluteDir();
    // Run from the build tree: the guide the build made beside the program.
    const QString built = exeDir.filePath(QStringLiteral("docs/") + QLatin1String(kGuideName));
    if (QFileInfo::exists(built)) return built;
    // Installed: <prefix>/bin/bansho and <prefix>/share/doc/bansho/.
    return QDir::cleanPath(exeDir.filePath(QStringLiteral("../share/doc/bansho/") +
                                           QLatin1String(kGuideName)));
}

TAForm::Links TAForm::BuildLinks() {
    Links links;
    links.Guide = QUrl::fromLocalFile(GuideFileFor(QCoreApplication::applicationFilePath()));
    const QString home = QString::fromUtf8(BANSHO_HOMEPAGE_URL);
    if (!home.isEmpty()) links.HomePage = QUrl(home);
    return links;
}

TAForm::TAForm(QWidget* owner) : TAForm(owner, QByteArray()) {
    // The built-in picture, sharp on a 2x screen as well.
    const QImage picture = about::ProgramPicture(devicePixelRatioF());
    if (!picture.isNull()) ProgramIcon->setPixmap(QPixmap::fromImage(picture));
}

TAForm::TAForm(QWidget* owner, const QByteArray& pictureJpeg)
    : TAForm(owner, pictureJpeg, BuildLinks()) {}

TAForm::TAForm(QWidget* owner, const QByteArray& pictureJpeg, const Links& links)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint),
      links_(links),
      opener_([](const QUrl& url) { return QDesktopServices::openUrl(url); }) {
    Build();
    if (!pictureJpeg.isEmpty()) {
        const auto* bytes = reinterpret_cast<const unsigned char*>(pictureJpeg.constData());
        const QImage picture = about::DecodeJpeg(
            std::span<const unsigned char>(bytes, static_cast<std::size_t>(pictureJpeg.size())));
        // A picture that does not decode leaves an empty space, nothing more.
        if (!picture.isNull()) ProgramIcon->setPixmap(QPixmap::fromImage(picture));
    }
    FormCreate();
}

void TAForm::Build() {
    setWindowTitle(QStringLiteral(" バンショ バージョン情報"));
    setFixedSize(kClientWidth, kClientHeight);

    Panel = new QFrame(this);
    Panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel->setGeometry(8, 8, 306, 126);

    ProgramIcon = new QLabel(Panel);
    ProgramIcon->setGeometry(10, 10, about::kPictureSide, about::kPictureSide);
    ProgramIcon->setAccessibleName(QStringLiteral("バンショ"));

    ProductName = new QLabel(QStringLiteral("巨大電卓 「バンショ」 for Linux"), Panel);
    QFont bold = ProductName->font();
    bold.setBold(true);
    ProductName->setFont(bold);
    ProductName->setGeometry(56, 10, 240, 18);

    VerDisp = new QLabel(Panel);
    VerDisp->setGeometry(56, 30, 240, 16);

    Copyright = new QLabel(QStringLiteral("Copyright (C) 2026 バンショ開発チーム"), Panel);
    Copyright->setGeometry(10, 52, 286, 16);

    // The terms the program is passed on under: the LICENSE file beside it in the sources,
    // the copyright file of the package.
    Licence = new QLabel(QStringLiteral("MIT ライセンスで公開しています"), Panel);
    Licence->setGeometry(10, 70, 286, 16);

    // Link labels are as wide as their text, so only the text is a link; a wide
    // font still keeps them inside the panel.
    const auto placeLink = [this](LinkLabel* link, int y, const QString& tip) {
        link->move(10, y);
        link->adjustSize();
        link->resize(std::min(link->width(), Panel->width() - 20), link->height());
        link->setToolTip(tip);
    };
    // The support link is the user guide that came with the program.
    Label1 = new LinkLabel(QStringLiteral("バンショ サポートサイト"), Panel);
    placeLink(Label1, 90, links_.Guide.isLocalFile() ? links_.Guide.toLocalFile()
                                                     : links_.Guide.toString());
    connect(Label1, &LinkLabel::clicked, this, &TAForm::Label1Click);

    // The home page, when the build names one; without one there is no such line at all.
    const bool hasHome = !links_.HomePage.isEmpty();
    Label2 = new LinkLabel(hasHome ? QStringLiteral("バンショ ホームページ") : QString(), Panel);
    Label2->SetActive(hasHome);
    placeLink(Label2, 108, hasHome ? links_.HomePage.toString() : QString());
    Label2->setVisible(hasHome);
    connect(Label2, &LinkLabel::clicked, this, &TAForm::Label2Click);

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setGeometry((kClientWidth - 75) / 2, 143, 75, 25);
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
    OKButton->setFocus();
    // Escape reaches QDialog::reject, which closes the box just as OK does.

    CentreOnScreen();
}

void TAForm::CentreOnScreen() {
    QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    // The frame counts once the window system has told its size; until then the client.
    const QSize outer = frameGeometry().size();
    const QRect area = screen->availableGeometry();
    move(area.x() + (area.width() - outer.width()) / 2,
         area.y() + (area.height() - outer.height()) / 2);
}

void TAForm::showEvent(QShowEvent* event) {
    // The frame is known only now that the window exists: centre again with it.
    if (!event->spontaneous()) CentreOnScreen();
    QDialog::showEvent(event);
}

void TAForm::FormCreate() {
    VerDisp->setText(QStringLiteral("Version 3.22"));
}

void TAForm::Label1Click() {
    OpenLink(links_.Guide);
}

void TAForm::Label2Click() {
    if (!links_.HomePage.isEmpty()) OpenLink(links_.HomePage);
}

void TAForm::OpenLink(const QUrl& url) {
    // The box stays open whatever happens; a failure is told, never swallowed.
    if (url.isLocalFile() && !QFileInfo::exists(url.toLocalFile())) {
        bansho::platform::ShowError(
            this, QStringLiteral("利用の手引きが見つかりません。\n\n%1").arg(url.toLocalFile()));
        return;
    }
    if (opener_ && opener_(url)) return;
    const QString where = url.isLocalFile() ? url.toLocalFile() : url.toString();
    bansho::platform::ShowError(
        this, QStringLiteral("デスクトップがこのリンクを開けませんでした。\n\n%1\n\n"
                             "ブラウザーでこのアドレスを開いてください。")
                  .arg(where));
}

void ShowAbout(QWidget* owner) {
    TAForm box(owner);
    box.exec();
}

} // namespace bansho
