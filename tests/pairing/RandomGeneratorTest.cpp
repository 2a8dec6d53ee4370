#include "pairing/RandomGenerator.h"

#include <gtest/gtest.h>

namespace tabry::test {
namespace {

TEST(RandomGeneratorTest, FollowsTheFixedLinearCongruentialSequence)
{
    // state = state * 214013 + 2531011; value = bits 16..30 of the state.
    CRandomGenerator g(1);
    EXPECT_EQ(g.Next(), 41);
    EXPECT_EQ(g.Next(), 18467);
    EXPECT_EQ(g.Next(), 6334);
    EXPECT_EQ(g.Next(), 26500);
    EXPECT_EQ(g.Next(), 19169);

    g.Seed(0);
    EXPECT_EQ(g.Next(), 38); // 2531011 >> 16

    // The state wraps modulo 2^32: (2^32 - 1) * 214013 + 2531011 = 2316998 (mod 2^32).
    g.Seed(0xFFFFFFFFu);
    EXPECT_EQ(g.Next(), 2316998 >> 16);
}

} // namespace
} // namespace tabry::test
