// What the settings file keeps of the two windows' places and sizes: the plain (not
// maximised) geometry, in the program's own units whatever the screen's scale. The same
// tests run at scale 1 and, from the build's test list, under QT_SCALE_FACTOR=2.
#include "IniFile.h"
#include "THForm.h"
#include "TMForm.h"
#include "WindowTestRig.h"

#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

using namespace bansho;

namespace {

struct Saved {
    int left, top, width, height, histHeight;
};

Saved ReadBack(const std::filesystem::path& env) {
    const IniFile ini = IniFile::Load(env.string());
    return {ini.ReadInteger("BANSHO", "Left", -1), ini.ReadInteger("BANSHO", "Top", -1),
            ini.ReadInteger("BANSHO", "Width", -1), ini.ReadInteger("BANSHO", "Height", -1),
            ini.ReadInteger("HISTWIN", "Height", -1)};
}

class SavedGeometry : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        env_ = std::filesystem::path(dir_.path().toStdString()) / "bansho.ENV";
        std::ofstream(env_, std::ios::binary)
            << "[BANSHO]\r\nLeft=300\r\nTop=120\r\nWidth=640\r\n[HISTWIN]\r\nHeight=256\r\n";
    }
    void Start() {
        hist_.reset();
        form_.reset();
        form_ = std::make_unique<TMForm>(env_);
        form_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form_.get()));
        hist_ = std::make_unique<THForm>(*form_);
        ASSERT_TRUE(QTest::qWaitFor([this] { return hist_->isVisible(); }, 5000));
    }
    void TearDown() override {
        hist_.reset();
        form_.reset();
    }
    QTemporaryDir dir_;
    std::filesystem::path env_;
    std::unique_ptr<TMForm> form_;
    std::unique_ptr<THForm> hist_;
};

// Saved as it was read, start after start: nothing drifts.
TEST_F(SavedGeometry, ThreeStartsKeepPlaceWidthAndReceiptHeight) {
    for (int start = 0; start < 3; ++start) {
        Start();
        ASSERT_TRUE(form_->SaveSettingsQuietly());
        const Saved s = ReadBack(env_);
        EXPECT_EQ(s.left, 300) << "start " << start;
        EXPECT_EQ(s.top, 120) << "start " << start;
        EXPECT_EQ(s.width, 640) << "start " << start;
        EXPECT_EQ(s.height, form_->Layout().clientHeight) << "start " << start;
        EXPECT_EQ(s.histHeight, 256) << "start " << start;
    }
}

// Closed while maximised: the next start opens as the plain window it was, not maximised and
// not as wide as the screen.
TEST_F(SavedGeometry, AMaximisedWindowSavesItsPlainGeometry) {
    Start();
    const QPoint plainPlace = form_->frameGeometry().topLeft();
    const int plainHeight = form_->height();
    form_->showMaximized();
    ASSERT_TRUE(QTest::qWaitFor([this] { return form_->width() > 640; }, 5000));
    ASSERT_TRUE(form_->SaveSettingsQuietly());
    const Saved s = ReadBack(env_);
    // The offscreen platform frames a window a moment after it is placed, without telling
    // the window: its place may be off by the frame's width.
    EXPECT_NEAR(s.left, plainPlace.x(), 4);
    EXPECT_NEAR(s.top, plainPlace.y(), 4);
    EXPECT_EQ(s.width, 640);
    EXPECT_EQ(s.height, plainHeight);
    EXPECT_EQ(s.histHeight, 256);

    Start();
    EXPECT_FALSE(form_->isMaximized());
    EXPECT_EQ(form_->width(), 640);
}

// A maximised receipt keeps the height it had before.
TEST_F(SavedGeometry, AMaximisedReceiptKeepsItsPlainHeight) {
    Start();
    hist_->showMaximized();
    ASSERT_TRUE(QTest::qWaitFor([this] { return hist_->height() > 400; }, 5000));
    ASSERT_TRUE(form_->SaveSettingsQuietly());
    EXPECT_EQ(ReadBack(env_).histHeight, 256);
}

} // namespace

int main(int argc, char** argv) {
    return bansho::testing::RunWindowTests(argc, argv);
}
