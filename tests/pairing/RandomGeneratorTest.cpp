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

    // Seeding restarts the sequence; the state wraps without leaving 0..32767.
    g.Seed(0xFFFFFFFFu);
    const int first = g.Next();
    g.Seed(0xFFFFFFFFu);
    EXPECT_EQ(g.Next(), first);
    for (int i = 0; i < 100000; ++i) {
        const int v = g.Next();
        ASSERT_GE(v, 0);
        ASSERT_LE(v, CRandomGenerator::kMax);
    }
}

} // namespace
} // namespace tabry::test
