#include "TAForm.h"
#include "LinkLabel.h"
#include "MessageBoxes.h"
#include "ProgramPicture.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QDir>
#include <QFile>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace bansho;

namespace {

// Shows a box and waits until it has the keyboard, as a user would find it.
std::unique_ptr<TAForm> Show(std::unique_ptr<TAForm> box) {
    box->open();
    EXPECT_TRUE(QTest::qWaitFor([&box] { return box->isActiveWindow(); }));
    return box;
}

std::unique_ptr<TAForm> OpenBox(const QByteArray* picture = nullptr) {
    return Show(picture ? std::make_unique<TAForm>(nullptr, *picture) : std::make_unique<TAForm>());
}

// A user guide that exists, in a scratch folder, and a home page.
struct ScratchLinks {
    QTemporaryDir dir;
    TAForm::Links links;
    explicit ScratchLinks(bool withHomePage = true) {
        const QString guide = dir.filePath(QStringLiteral("bansho-guide.html"));
        QFile f(guide);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("<!DOCTYPE html><title>guide</title>");
        links.Guide = QUrl::fromLocalFile(guide);
        if (withHomePage) links.HomePage = QUrl(QStringLiteral("https://bansho.example.net/"));
    }
};

std::unique_ptr<TAForm> OpenBox(const TAForm::Links& links) {
    return Show(std::make_unique<TAForm>(nullptr, QByteArray(), links));
}

// Records the addresses the box asks to open, instead of starting a browser, and
// answers as a desktop that can (or cannot) open them.
struct OpenerSpy {
    std::vector<QUrl> opened;
    bool desktopCanOpen = true;
    TAForm::UrlOpener Opener() {
        return [this](const QUrl& url) {
            opened.push_back(url);
            return desktopCanOpen;
        };
    }
};

// Answers every message box instead of showing it, and remembers what it said.
struct MessageSpy {
    std::vector<bansho::platform::MessageRequest> shown;
    bansho::platform::MessageHook previous;
    MessageSpy() {
        previous = bansho::platform::SetMessageHook([this](const bansho::platform::MessageRequest& r) {
            shown.push_back(r);
            return false;
        });
    }
    ~MessageSpy() { bansho::platform::SetMessageHook(std::move(previous)); }
};

} // namespace

TEST(TAForm, TextsAndSize) {
    auto box = OpenBox();
    EXPECT_EQ(box->windowTitle(), QStringLiteral(" バンショ バージョン情報"));
    EXPECT_EQ(box->ProductName->text(), QStringLiteral("巨大電卓 「バンショ」 for Linux"));
    EXPECT_EQ(box->VerDisp->text(), QStringLiteral("Version 3.22"));
    EXPECT_TRUE(box->Copyright->text().startsWith(QStringLiteral("Copyright")));
    EXPECT_TRUE(box->Licence->text().contains(QStringLiteral("MIT")));
    EXPECT_EQ(box->Label1->text(), QStringLiteral("バンショ サポートサイト"));
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
                                         box->Copyright, box->Licence, box->Label1,
                                         box->Label2})
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
    ScratchLinks scratch;
    auto box = OpenBox(scratch.links);
    for (LinkLabel* link : {box->Label1, box->Label2}) {
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
    ScratchLinks scratch;
    struct Row {
        const char* name;
        LinkLabel* TAForm::*link;
        QUrl address;
    };
    const Row rows[] = {
        {"user guide", &TAForm::Label1, scratch.links.Guide},
        {"home page", &TAForm::Label2, scratch.links.HomePage},
    };
    for (const Row& r : rows) {
        auto box = OpenBox(scratch.links);
        OpenerSpy spy;
        MessageSpy messages;
        box->SetUrlOpener(spy.Opener());
        QTest::mouseClick(box.get()->*r.link, Qt::LeftButton);
        ASSERT_EQ(spy.opened.size(), 1u) << r.name;
        EXPECT_EQ(spy.opened[0], r.address) << r.name;
        EXPECT_TRUE(messages.shown.empty()) << r.name << ": opened, so nothing to tell";
        EXPECT_TRUE(box->isVisible()) << r.name;
        // Still usable: the keyboard still reaches OK, and Enter closes it.
        EXPECT_EQ(QApplication::focusWidget(), box->OKButton) << r.name;
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        EXPECT_FALSE(box->isVisible()) << r.name;
        EXPECT_EQ(box->result(), QDialog::Accepted) << r.name;
    }
}

// What the user is told when a click leads nowhere: a message box each time, with the
// address, and the about box stays open.
TEST(TAForm, ALinkThatCannotBeOpenedIsToldInAMessageBox) {
    struct Row {
        const char* name;
        LinkLabel* TAForm::*link;
        bool guideMissing;
        std::size_t openerCalls; // a missing guide is not handed to the desktop at all
        const char* saysWhere;   // a piece of the address the message must show
    };
    const Row rows[] = {
        {"desktop cannot open the guide", &TAForm::Label1, false, 1, "bansho-guide.html"},
        {"desktop cannot open the home page", &TAForm::Label2, false, 1, "bansho.example.net"},
        {"guide not installed", &TAForm::Label1, true, 0, "bansho-guide.html"},
    };
    for (const Row& r : rows) {
        ScratchLinks scratch;
        if (r.guideMissing) {
            ASSERT_TRUE(QFile::remove(scratch.links.Guide.toLocalFile()));
        }
        auto box = OpenBox(scratch.links);
        OpenerSpy spy;
        spy.desktopCanOpen = false;
        MessageSpy messages;
        box->SetUrlOpener(spy.Opener());
        QTest::mouseClick(box.get()->*r.link, Qt::LeftButton);
        EXPECT_EQ(spy.opened.size(), r.openerCalls) << r.name;
        ASSERT_EQ(messages.shown.size(), 1u) << r.name;
        EXPECT_EQ(messages.shown[0].kind, bansho::platform::MessageKind::Error) << r.name;
        EXPECT_EQ(messages.shown[0].parent, box.get()) << r.name;
        EXPECT_TRUE(messages.shown[0].text.contains(QLatin1String(r.saysWhere)))
            << r.name << ": " << messages.shown[0].text.toStdString();
        EXPECT_TRUE(box->isVisible()) << r.name;
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        EXPECT_FALSE(box->isVisible()) << r.name;
    }
}

TEST(TAForm, WithoutAHomePageThereIsNoHomePageLine) {
    ScratchLinks scratch(/*withHomePage=*/false);
    auto box = OpenBox(scratch.links);
    OpenerSpy spy;
    MessageSpy messages;
    box->SetUrlOpener(spy.Opener());
    // No placeholder: the line is not there at all.
    EXPECT_FALSE(box->Label2->isVisible());
    EXPECT_FALSE(box->Label2->IsActive());
    for (QLabel* line : box->Panel->findChildren<QLabel*>())
        if (line->isVisible()) {
            EXPECT_FALSE(line->text().contains(QStringLiteral("ホームページ")))
                << line->text().toStdString();
        }
    EXPECT_TRUE(spy.opened.empty());
    EXPECT_TRUE(messages.shown.empty());
    // The guide link still works.
    EXPECT_TRUE(box->Label1->IsActive());
    QTest::mouseClick(box->Label1, Qt::LeftButton);
    EXPECT_EQ(spy.opened.size(), 1u);
}

// The support link finds the guide the build made when the program runs from the build
// tree, and the installed guide otherwise.
TEST(TAForm, GuideIsFoundBesideTheProgramOrInItsInstalledPlace) {
    QTemporaryDir root;
    const QString buildDir = root.filePath(QStringLiteral("build"));
    const QString binDir = root.filePath(QStringLiteral("usr/bin"));
    ASSERT_TRUE(QDir().mkpath(buildDir + QStringLiteral("/docs")));
    ASSERT_TRUE(QDir().mkpath(binDir));
    QFile built(buildDir + QStringLiteral("/docs/bansho-guide.html"));
    ASSERT_TRUE(built.open(QIODevice::WriteOnly));
    built.close();
    EXPECT_EQ(TAForm::GuideFileFor(buildDir + QStringLiteral("/bansho")), built.fileName());
    EXPECT_EQ(TAForm::GuideFileFor(binDir + QStringLiteral("/bansho")),
              root.filePath(QStringLiteral("usr/share/doc/bansho/bansho-guide.html")));
    // This build's own links: the guide is a local file, the home page (if any) a web page.
    const TAForm::Links links = TAForm::BuildLinks();
    EXPECT_TRUE(links.Guide.isLocalFile());
    if (!links.HomePage.isEmpty()) {
        EXPECT_TRUE(links.HomePage.scheme().startsWith(QLatin1String("http")));
    }
}

TEST(TAForm, OnlyAFullLeftClickOnALinkOpensIt) {
    ScratchLinks scratch;
    auto box = OpenBox(scratch.links);
    OpenerSpy spy;
    box->SetUrlOpener(spy.Opener());
    LinkLabel* link = box->Label1;
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
    ScratchLinks scratch;
    auto box = Show(std::make_unique<TAForm>(nullptr, damaged, scratch.links));
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
