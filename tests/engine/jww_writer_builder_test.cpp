// The writer's bytes against the test-side builder's independent encoding of
// the same model: for a drawing whose values the writer keeps, both must be
// byte for byte the same in every version branch of the file layout.
#include <gtest/gtest.h>

#include "bind_images.h"
#include "jww_builder.h"
#include "jww_data.h"
#include "jww_model_maker.h"

using namespace jwwtest;

namespace {

const int32_t kVersions[] = {220, 223, 225, 230, 231, 300, 350, 351, 420, 600, 700};

std::vector<uint8_t> Saved(TJwwData& m, int32_t v) {
  std::vector<uint8_t> bytes;
  EXPECT_TRUE(m.SaveToBytes(bytes, v)) << v;
  return bytes;
}

// Index of the first differing byte, for readable failures.
size_t FirstDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
  size_t i = 0;
  while (i < a.size() && i < b.size() && a[i] == b[i]) ++i;
  return i;
}

class WriterVsBuilder : public ::testing::TestWithParam<int32_t> {
 protected:
  void SetUp() override { InstallStableImages(FreshFolder("writer_vs_builder")); }
  void TearDown() override { BindImg.Reset(); }
};

}  // namespace

TEST_P(WriterVsBuilder, StableDrawingIsWrittenAsTheBuilderEncodesIt) {
  const int32_t v = GetParam();
  TJwwData m;
  MakeStableModel(m, v);
  const std::vector<uint8_t> expected =
      JwwBuilder::FromModel(m, v >= 700 ? BindImg.BindImages : std::vector<TBindImageType>{}, StableImages())
          .Bytes(v);
  const std::vector<uint8_t> got = Saved(m, v);
  ASSERT_EQ(got.size(), expected.size()) << "first difference at " << FirstDifference(got, expected);
  EXPECT_TRUE(got == expected) << "first difference at " << FirstDifference(got, expected);
  if (v >= 700) {
    ASSERT_EQ(BindImg.BindImages.size(), 2u);
    EXPECT_EQ(BindImg.BindImages[0].Used + BindImg.BindImages[1].Used, 2);
  }
}

INSTANTIATE_TEST_SUITE_P(EveryVersionBranch, WriterVsBuilder, ::testing::ValuesIn(kVersions));

TEST(JwwWriter, SavingLeavesTheModelAsItWas) {
  TJwwData m;
  MakeStableModel(m, 420);
  m.Header.Signature.clear();
  m.Pens[3].Width = 0;  // clamped in the file, not in the model
  const std::vector<uint8_t> first = Saved(m, 351);
  EXPECT_EQ(m.Header.Signature, "JwwData.");
  EXPECT_EQ(m.Header.Version, 420);
  EXPECT_EQ(m.Pens[3].Width, 0);
  EXPECT_EQ(m.EntityOrderCount, 15);
  EXPECT_TRUE(Saved(m, 351) == first);
}
