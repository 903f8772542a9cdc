#include <gtest/gtest.h>
#include "engine/number_text.h"
TEST(NumberText, Placeholder) { EXPECT_EQ(kubrix::numberText(1), "1"); }
