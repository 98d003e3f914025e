// Main for the tests of parts that need no window: no application object at all, which is the
// proof that they need none.
#include <gtest/gtest.h>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
