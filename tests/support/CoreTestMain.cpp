// Main for the tests of parts that run threads but no window: Qt Core's event loop, and no
// widget at all, which is the proof that they need none.
#include <QCoreApplication>
#include <gtest/gtest.h>

#include "tests/support/WorkersLeft.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  const int result = RUN_ALL_TESTS();
  return WorkersLeft() ? 1 : result;
}
