#include <gtest/gtest.h>

#include "numbers.h"

TEST(Numbers, placeholder) { SUCCEED(); }
