// Shared main for every test program: a QApplication on the offscreen platform unless told otherwise.
#include <QApplication>
#include <gtest/gtest.h>

#include "tests/support/WorkersLeft.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setApplicationName("Velmora");
  ::testing::InitGoogleTest(&argc, argv);
  const int result = RUN_ALL_TESTS();
  return WorkersLeft() ? 1 : result;
}
