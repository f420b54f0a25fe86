#include "platform/dos_time.h"

#include <gtest/gtest.h>

namespace shifrodel {
namespace {

TEST(DosTime, PacksToEvenSecondsAndBack) {
  const auto packed = PackDosTime({2007, 10, 23, 17, 45, 59});
  ASSERT_TRUE(packed.has_value());
  const LocalDateTime t = UnpackDosTime(*packed);
  EXPECT_EQ(t.year, 2007);
  EXPECT_EQ(t.month, 10);
  EXPECT_EQ(t.day, 23);
  EXPECT_EQ(t.hour, 17);
  EXPECT_EQ(t.minute, 45);
  EXPECT_EQ(t.second, 58);
  EXPECT_EQ(PackDosTime({1980, 1, 1, 0, 0, 0}), 0x00210000u);
  EXPECT_EQ(PackDosTime({1979, 12, 31, 23, 59, 58}), std::nullopt);
  EXPECT_EQ(PackDosTime({2108, 1, 1, 0, 0, 0}), std::nullopt);
}

}  // namespace
}  // namespace shifrodel
