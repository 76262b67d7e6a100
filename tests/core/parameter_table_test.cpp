#include <gtest/gtest.h>

#include "core/parameter_table.h"

TEST(Quantise, Placeholder) { EXPECT_EQ(PlugCore::quantise(0.5f), 0.5f); }
