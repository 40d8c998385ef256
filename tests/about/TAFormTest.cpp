#include "TAForm.h"
#include "ProgramPicture.h"
#include "TLinkLabel.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// Shows a box and waits until it has the keyboard, as a user would find it.
std::unique_ptr<TAForm> OpenBox(const QByteArray* picture = nullptr) {
    auto box = picture ? std::make_unique<TAForm>(nullptr, *picture) : std::make_unique<TAForm>();
    box->open();
    EXPECT_TRUE(QTest::qWaitFor([&box] { return box->isActiveWindow(); }));
    return box;
}

// Records the addresses the box asks to open, instead of starting a browser.
struct OpenerSpy {
    std::vector<QUrl> opened;
    TAForm::UrlOpener Opener() {
        return [this](const QUrl& url) { opened.push_back(url); };
    }
};

} // namespace

TEST(TAForm, TextsAndSize) {
    auto box = OpenBox();
    EXPECT_EQ(box->windowTitle(), QStringLiteral(" バンショ バージョン情報"));
    EXPECT_EQ(box->ProductName->text(), QStringLiteral("巨大電卓 「バンショ」 for Windows"));
    EXPECT_EQ(box->VerDisp->text(), QStringLiteral("Version 3.22"));
    EXPECT_TRUE(box->Copyright->text().startsWith(QStringLiteral("Copyright")));
    EXPECT_EQ(box->Label1->text(), QStringLiteral("バンショ サポートサイト"));
    EXPECT_FALSE(box->Label2->text().isEmpty());
    EXPECT_EQ(box->OKButton->text(), QStringLiteral("OK"));

    EXPECT_EQ(box->size(), QSize(322, 178));
    EXPECT_EQ(box->minimumSize(), box->maximumSize()) << "the box cannot be resized";
    EXPECT_TRUE(box->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(box->Panel->frameShadow(), QFrame::Sunken);
}

TEST(TAForm, EveryControlFitsInsideItsParent) {
    auto box = OpenBox();
    const QRect panel = box->Panel->contentsRect();
    for (QWidget* w :
         std::initializer_list<QWidget*>{box->ProgramIcon, box->ProductName, box->VerDisp,
                                         box->Copyright, box->Label1, box->Label2})
        EXPECT_TRUE(panel.contains(w->geometry()))
            << w->metaObject()->className() << " " << w->objectName().toStdString();
    EXPECT_TRUE(box->rect().contains(box->Panel->geometry()));
    EXPECT_TRUE(box->rect().contains(box->OKButton->geometry()));
    EXPECT_FALSE(box->Panel->geometry().intersects(box->OKButton->geometry()));
    // The button is centred below the panel.
    EXPECT_EQ(box->OKButton->geometry().center().x(), box->rect().center().x());
    // The product name starts to the right of the picture.
    EXPECT_GT(box->ProductName->x(), box->ProgramIcon->geometry().right());
}

TEST(TAForm, CentredOnTheScreen) {
    auto box = OpenBox();
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    // The whole window, frame included, sits in the middle of the screen.
    const QPoint offset = box->frameGeometry().center() - area.center();
    EXPECT_LE(offset.manhattanLength(), 2) << offset.x() << "," << offset.y();
}

TEST(TAForm, ShowsThePictureAt36By36) {
    auto box = OpenBox();
    const QPixmap picture = box->ProgramIcon->pixmap();
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.deviceIndependentSize(), QSizeF(36, 36));
    EXPECT_EQ(box->ProgramIcon->size(), QSize(36, 36));
}

TEST(TAForm, LinksAreBlueAndUnderlined) {
    auto box = OpenBox();
    for (TLinkLabel* link : {box->Label1, box->Label2}) {
        EXPECT_TRUE(link->font().underline());
        EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
    }
}

TEST(TAForm, OKButtonHasTheFocusAndIsDefault) {
    auto box = OpenBox();
    EXPECT_EQ(QApplication::focusWidget(), box->OKButton);
    EXPECT_TRUE(box->OKButton->isDefault());
}

TEST(TAForm, KeysAndButtonCloseIt) {
    struct Row {
        const char* name;
        std::function<void(TAForm&)> act;
    };
    const Row rows[] = {
        {"Escape", [](TAForm&) { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape); }},
        {"Enter", [](TAForm&) { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); }},
        {"keypad Enter",
         [](TAForm&) {
             QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter, Qt::KeypadModifier);
         }},
        {"Space on OK",
         [](TAForm&) { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space); }},
        {"click on OK", [](TAForm& b) { QTest::mouseClick(b.OKButton, Qt::LeftButton); }},
    };
    for (const Row& r : rows) {
        auto box = OpenBox();
        ASSERT_TRUE(box->isVisible()) << r.name;
        r.act(*box);
        EXPECT_FALSE(box->isVisible()) << r.name << " did not close the box";
    }
}

TEST(TAForm, LinkClickOpensItsAddressAndTheBoxStaysOpen) {
    struct Row {
        const char* name;
        TLinkLabel* TAForm::*link;
        QUrl address;
    };
    const Row rows[] = {
        {"support page", &TAForm::Label1, TAForm::SupportUrl},
        {"social page", &TAForm::Label2, TAForm::SocialUrl},
    };
    for (const Row& r : rows) {
        auto box = OpenBox();
        OpenerSpy spy;
        box->SetUrlOpener(spy.Opener());
        QTest::mouseClick(box.get()->*r.link, Qt::LeftButton);
        ASSERT_EQ(spy.opened.size(), 1u) << r.name;
        EXPECT_EQ(spy.opened[0], r.address) << r.name;
        EXPECT_TRUE(box->isVisible()) << r.name;
        // Still usable: the keyboard still reaches OK, and Enter closes it.
        EXPECT_EQ(QApplication::focusWidget(), box->OKButton) << r.name;
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        EXPECT_FALSE(box->isVisible()) << r.name;
        EXPECT_EQ(box->result(), QDialog::Accepted) << r.name;
    }
}

TEST(TAForm, LinkAddressesAreWebPages) {
    for (const QUrl& url : {TAForm::SupportUrl, TAForm::SocialUrl}) {
        EXPECT_TRUE(url.isValid());
        EXPECT_EQ(url.scheme(), QStringLiteral("https"));
    }
    EXPECT_NE(TAForm::SupportUrl, TAForm::SocialUrl);
}

TEST(TAForm, OnlyAFullLeftClickOnALinkOpensIt) {
    auto box = OpenBox();
    OpenerSpy spy;
    box->SetUrlOpener(spy.Opener());
    TLinkLabel* link = box->Label1;
    QTest::mouseClick(link, Qt::RightButton);
    QTest::mouseClick(link, Qt::MiddleButton);
    // Pressed on the link, released away from it: the user changed their mind.
    QTest::mousePress(link, Qt::LeftButton, {}, link->rect().center());
    QTest::mouseRelease(link, Qt::LeftButton, {}, link->rect().bottomRight() + QPoint(20, 20));
    EXPECT_TRUE(spy.opened.empty());
    QTest::mouseClick(link, Qt::LeftButton);
    EXPECT_EQ(spy.opened.size(), 1u);
}

TEST(TAForm, DamagedPictureLeavesTheBoxWorking) {
    // The program's own picture, cut off half-way.
    const auto good = about::ProgramPictureJpeg();
    const QByteArray damaged(reinterpret_cast<const char*>(good.data()),
                             static_cast<qsizetype>(good.size() / 2));
    auto box = OpenBox(&damaged);
    EXPECT_TRUE(box->ProgramIcon->pixmap().isNull());
    EXPECT_EQ(box->VerDisp->text(), QStringLiteral("Version 3.22"));
    EXPECT_EQ(box->size(), QSize(322, 178));
    OpenerSpy spy;
    box->SetUrlOpener(spy.Opener());
    QTest::mouseClick(box->Label1, Qt::LeftButton);
    EXPECT_EQ(spy.opened.size(), 1u);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_FALSE(box->isVisible());
}

TEST(ShowAbout, RunsModallyOverItsOwnerAndIsGoneAfterwards) {
    QWidget owner;
    owner.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&owner));

    bool seen = false;
    QTimer::singleShot(0, &owner, [&] {
        auto* box = qobject_cast<TAForm*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen = true;
        EXPECT_EQ(box->parentWidget(), &owner);
        EXPECT_TRUE(box->isModal());
        // qWaitForWindowActive already answers true while the owner is still active.
        ASSERT_TRUE(QTest::qWaitFor([box] { return box->isActiveWindow(); }));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    });
    // A box left open would hang here; the timer closes it after a while regardless.
    QTimer guard;
    guard.setSingleShot(true);
    bool forced = false;
    QObject::connect(&guard, &QTimer::timeout, &owner, [&forced] {
        forced = true;
        if (auto* w = QApplication::activeModalWidget()) w->close();
    });
    guard.start(5000);
    ShowAbout(&owner);
    EXPECT_TRUE(seen);
    EXPECT_FALSE(forced) << "Escape did not close the box";
    EXPECT_TRUE(owner.findChildren<TAForm*>().isEmpty()) << "the box is destroyed when it closes";
}
