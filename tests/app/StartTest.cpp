#include <QCoreApplication>
#include <QFileInfo>
#include <QFontInfo>
#include <QIcon>
#include <gtest/gtest.h>

#include <stdexcept>

#include "app/Application.h"
#include "platform/DesignFonts.h"
#include "tests/support/MessageRecorder.h"

using platform::DesignFont;
using platform::kGothic;
using platform::kPGothic;
using platform::kSystemFont;
using platform::MapDesignFonts;

TEST(Start, DesignFontsFindJapaneseGlyphs) {
  MapDesignFonts();
  for (const QString& family : {kGothic, kPGothic, kSystemFont}) {
    const QFontInfo info(DesignFont(family, 12));
    EXPECT_TRUE(info.family().contains("Noto")) << family.toStdString() << " became " << info.family().toStdString();
  }
  EXPECT_TRUE(QFontInfo(DesignFont(kGothic, 13)).family().contains("Mono")) << QFontInfo(DesignFont(kGothic, 13)).family().toStdString();
}

TEST(Start, AnEscapedErrorIsShownWithItsTextAndTheTitle) {
  MessageRecorder boxes;
  ShowEscapedError(std::make_exception_ptr(std::runtime_error("Cannot create file velm.dat")), boxes.dialogs());
  ShowEscapedError(std::make_exception_ptr(42), boxes.dialogs());
  ASSERT_EQ(boxes.boxes().size(), 2u);
  EXPECT_EQ(boxes.boxes()[0], (MessageRecorder::Box{"Cannot create file velm.dat", "Velmora"}));
  EXPECT_FALSE(boxes.boxes()[1].text.isEmpty());
  EXPECT_EQ(boxes.boxes()[1].caption, "Velmora");
}

TEST(Start, TheIconIsCompiledIn) { EXPECT_FALSE(QIcon(":/icon/velmora.png").isNull()); }

TEST(Start, ProgramFolderEndsInASlash) {
  const QString folder = ProgramFolder();
  EXPECT_TRUE(folder.endsWith('/'));
  EXPECT_TRUE(QFileInfo(folder + QFileInfo(QCoreApplication::applicationFilePath()).fileName()).exists());
}
