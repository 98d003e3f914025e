// The packed weights file the build unpacks: what goes in comes out, and a damaged file is
// refused rather than read as weights.
#include <gtest/gtest.h>

#include "yomi/weights/WeightsFile.h"

TEST(YomiWeightsFile, UnpacksWhatWasPackedAndRefusesDamage) {
  std::vector<std::int16_t> weights(5000, 0);
  weights[0] = 1;
  weights[7] = -1;
  weights[300] = 32767;
  weights[301] = -32768;
  weights[4999] = 129;
  const std::vector<std::uint8_t> packed = yomi::PackWeights(weights);
  EXPECT_LT(packed.size(), 40u) << "runs of zeros take a byte or two";
  EXPECT_EQ(yomi::UnpackWeights(packed), weights);

  std::vector<std::uint8_t> truncated(packed.begin(), packed.end() - 1);
  EXPECT_EQ(yomi::UnpackWeights(truncated), std::nullopt);
  std::vector<std::uint8_t> wrongMagic = packed;
  wrongMagic[0] = 'X';
  EXPECT_EQ(yomi::UnpackWeights(wrongMagic), std::nullopt);
  std::vector<std::uint8_t> pastTheEnd = packed;
  pastTheEnd.insert(pastTheEnd.end(), {0x05, 0x02});  // another weight after the last one
  EXPECT_EQ(yomi::UnpackWeights(pastTheEnd), std::nullopt);
}
