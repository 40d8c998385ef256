#include "TAForm.h"

#include "JpegDecoder.h"
#include "ProgramPicture.h"
#include "TLinkLabel.h"

#include <QDesktopServices>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>

#include <algorithm>
#include <span>

const QUrl TAForm::SupportUrl(QStringLiteral("https://bansho.example.org/support"));
const QUrl TAForm::SocialUrl(QStringLiteral("https://social.example.org/@bansho"));

namespace {

constexpr int kClientWidth = 322;
constexpr int kClientHeight = 178;

} // namespace

TAForm::TAForm(QWidget* owner) : TAForm(owner, QByteArray()) {
    // The built-in picture, sharp on a 2x screen as well.
    const QImage picture = about::ProgramPicture(devicePixelRatioF());
    if (!picture.isNull()) ProgramIcon->setPixmap(QPixmap::fromImage(picture));
}

TAForm::TAForm(QWidget* owner, const QByteArray& pictureJpeg)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint),
      opener_([](const QUrl& url) { QDesktopServices::openUrl(url); }) {
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

    ProductName = new QLabel(QStringLiteral("巨大電卓 「バンショ」 for Windows"), Panel);
    QFont bold = ProductName->font();
    bold.setBold(true);
    ProductName->setFont(bold);
    ProductName->setGeometry(56, 10, 240, 18);

    VerDisp = new QLabel(Panel);
    VerDisp->setGeometry(56, 30, 240, 16);

    Copyright = new QLabel(QStringLiteral("Copyright (C) 2026 バンショ開発チーム"), Panel);
    Copyright->setGeometry(10, 56, 286, 16);

    // Link labels are as wide as their text, so only the text is a link; a wide
    // font still keeps them inside the panel.
    const auto placeLink = [this](TLinkLabel* link, int y, const QUrl& url) {
        link->move(10, y);
        link->adjustSize();
        link->resize(std::min(link->width(), Panel->width() - 20), link->height());
        link->setToolTip(url.toString());
    };
    Label1 = new TLinkLabel(QStringLiteral("バンショ サポートサイト"), Panel);
    placeLink(Label1, 80, SupportUrl);
    connect(Label1, &TLinkLabel::clicked, this, &TAForm::Label1Click);

    Label2 = new TLinkLabel(QStringLiteral("@bansho (social.example.org)"), Panel);
    placeLink(Label2, 100, SocialUrl);
    connect(Label2, &TLinkLabel::clicked, this, &TAForm::Label2Click);

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
    if (opener_) opener_(SupportUrl);
}

void TAForm::Label2Click() {
    if (opener_) opener_(SocialUrl);
}

void ShowAbout(QWidget* owner) {
    TAForm box(owner);
    box.exec();
}
