// The stand-in of a build without libmicrohttpd: it never claims to serve,
// says why, and still builds the pages of each publication, newest last.
#include "live/LiveServer.h"
#include "live/LiveSite.h"
#include "live/LiveSnapshot.h"
#include "tests/support/SmallTournaments.h"

#include <gtest/gtest.h>

namespace tabry::live {
namespace {

TEST(LiveServerAbsentTest, RefusesToStartWithAReasonAndKeepsPublishing)
{
    CLiveServer server;
    EXPECT_EQ(server.Site(), nullptr);
    std::string error;
    EXPECT_FALSE(server.Start(ServerOptions{}, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(server.IsRunning());
    EXPECT_EQ(server.Port(), 0);
    EXPECT_TRUE(server.Urls().empty());
    EXPECT_FALSE(server.Start(ServerOptions{})); // no reason asked for: no crash

    const std::uint64_t first = server.Publish(test::MakeTournament(6, 3, 4));
    const std::uint64_t second = server.Publish(test::MakeTournament(8, 3, 5));
    EXPECT_GT(second, first);
    ASSERT_NE(server.Site(), nullptr);
    EXPECT_EQ(server.Site()->Snapshot().Version(), second);
    const std::string standings = *server.Site()->Get(*ParsePath("/api/standings")).body;
    EXPECT_NE(standings.find("\"p4\""), std::string::npos) << standings;
    server.Stop(); // harmless when never started
}

} // namespace
} // namespace tabry::live
