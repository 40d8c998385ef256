// At the narrowest window every function-key caption of every factory set stays whole: it
// is drawn smaller where it must be, never cut.
#include "KeyConfig.h"
#include "LayoutRule.h"
#include "TFuncKey.h"
#include "TMForm.h"

#include <QFontMetrics>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <fstream>

using namespace bansho;

TEST(FuncKeyCaptions, EveryCaptionFitsItsKeyAtTheNarrowestWidth) {
    for (const char* smallFont : {"0", "1"}) {
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        const auto env = std::filesystem::path(dir.path().toStdString()) / "bansho.ENV";
        std::ofstream(env, std::ios::binary)
            << "[BANSHO]\r\nLeft=100\r\nTop=100\r\nWidth=" << kMinWindowWidth
            << "\r\n[OPTION]\r\nSmallFont=" << smallFont << "\r\n";
        TMForm form(env);
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        ASSERT_EQ(form.width(), kMinWindowWidth);
        for (int set = 0; set < kFuncSetCount; ++set) {
            form.Status().FuncSet = set;
            form.ApplyFuncSet();
            int shown = 0;
            for (int i = 0; i < form.FKey->KeyCount(); ++i) {
                const FunctionKeyButton* key = form.FKey->GetKey(i);
                const QString caption = key->Caption();
                if (caption.trimmed().isEmpty()) continue;
                ++shown;
                const int textWidth = QFontMetrics(key->font()).horizontalAdvance(caption);
                EXPECT_LE(textWidth, key->CaptionRoom())
                    << "set " << set << " key " << i + 1 << " " << caption.toStdString()
                    << " SmallFont=" << smallFont;
                EXPECT_GE(key->font().pointSize(), FunctionKeyButton::kMinCaptionPoints);
            }
            EXPECT_GT(shown, 0) << "set " << set;
        }
    }
}
