#include "length_study.h"

#include <gtest/gtest.h>

namespace korvel::cli {
namespace {

TEST(LengthStudy, Placeholder) { EXPECT_FALSE(CriticalLengthIndex({}, 0.01).has_value()); }

}  // namespace
}  // namespace korvel::cli
