#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "settings/Preferences.h"
#include "tests/support/Files.h"

namespace {

TEST(Preferences, MissingFileGivesDefaultsAndWhatIsSavedComesBack) {
  QTemporaryDir dir;
  const QString file = dir.path() + "/sub/velmora.conf";
  const settings::Preferences defaults = settings::LoadPreferences(file);
  EXPECT_TRUE(defaults.showTurnAndScore);
  EXPECT_FALSE(defaults.classicView);
  EXPECT_TRUE(defaults.openRouterPort);

  settings::Preferences changed;
  changed.classicView = true;
  changed.openRouterPort = false;
  changed.animate = false;
  ASSERT_TRUE(settings::SavePreferences(changed, file));
  const settings::Preferences back = settings::LoadPreferences(file);
  EXPECT_TRUE(back.classicView);
  EXPECT_FALSE(back.openRouterPort);
  EXPECT_FALSE(back.animate);
  EXPECT_TRUE(back.markLastMove);
}

TEST(Preferences, DamagedValuesAndFilesKeepTheDefaults) {
  QTemporaryDir dir;
  const QString file = dir.path() + "/velmora.conf";
  ASSERT_TRUE(WriteFile(file, "[view]\nclassic=yes\nanimation=false\n[network\nopenRouterPort=\x01\xff\n"));
  const settings::Preferences read = settings::LoadPreferences(file);
  EXPECT_FALSE(read.classicView);  // "yes" is not a flag
  EXPECT_TRUE(read.openRouterPort);

  const QString folder = dir.path() + "/folder.conf";
  ASSERT_TRUE(QDir().mkpath(folder));
  EXPECT_TRUE(settings::LoadPreferences(folder).showTurnAndScore);
  EXPECT_FALSE(settings::SavePreferences(settings::Preferences{}, folder));
}

}  // namespace
