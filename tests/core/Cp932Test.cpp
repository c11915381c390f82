#include <gtest/gtest.h>

#include "Cp932.h"

TEST(Cp932, Placeholder) { EXPECT_EQ(tabulon::Cp932ToUtf8("a"), "a"); }
