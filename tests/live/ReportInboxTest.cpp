// The waiting list of reported results on its own, with a hand-driven
// clock: what each report does to the list, the locks and limits a hostile
// phone runs into, the desk's decisions, and the list's bytes for the crash
// journal read back from anything.
#include "live/ReportInbox.h"
#include "core/ReportCode.h"

#include <gtest/gtest.h>

#include <random>

namespace tabry {
namespace {

// Codes computed independently (Python's hmac) for this key, round 2.
constexpr const char* kKey = "0123456789abcdef0123456789abcdef";

class ReportInboxTest : public ::testing::Test {
protected:
    ReportInboxTest()
        : m_inbox(
            InboxLimits{}, [this] { return m_now; }, [this] { return m_wall; })
    {
        ReportContext c;
        c.key = kKey;
        c.round = 2;
        c.maxBoards = 8;
        for (int b = 1; b <= 4; ++b)
            c.boards.push_back({b, b == 4});
        m_inbox.SetContext(c);
        m_inbox.SetOnChange([this] { ++m_changes; });
    }

    std::string Code(int board) const { return ReportCode(kKey, 2, board); }
    ReportOutcome Send(int board, int first, int second, const std::string& from, int round = 2)
    {
        return m_inbox.Submit(round, board, first, second, ReportCode(kKey, round, board), from);
    }

    std::chrono::steady_clock::time_point m_now{std::chrono::hours(1)};
    std::int64_t m_wall = 1700000000;
    CReportInbox m_inbox;
    int m_changes = 0;
};

TEST_F(ReportInboxTest, ReplaysAgreementsAndConflictsAsTheDeskSeesThem)
{
    EXPECT_EQ(ReportCode(kKey, 2, 1), "227QK9QM");
    EXPECT_EQ(m_inbox.Submit("2", "1", "40", "24", "227q-k9qm", "A"), ReportOutcome::Received);
    EXPECT_EQ(m_changes, 1);
    // The same phone again: nothing new.
    EXPECT_EQ(Send(1, 40, 24, "A"), ReportOutcome::Received);
    EXPECT_EQ(m_changes, 1);
    // The opponent's phone with the same result: one report, agreed.
    EXPECT_EQ(Send(1, 40, 24, "B"), ReportOutcome::Agreed);
    EXPECT_EQ(Send(1, 40, 24, "B"), ReportOutcome::Agreed);
    ASSERT_EQ(m_inbox.PendingCount(), 1u);
    PendingReport r = m_inbox.Pending()[0];
    EXPECT_EQ(r.state, PendingReport::State::Agreed);
    EXPECT_EQ(r.round, 2);
    EXPECT_EQ(r.board, 1);
    EXPECT_EQ(r.first, 40);
    EXPECT_EQ(r.second, 24);
    EXPECT_EQ(r.Disc(), 16);
    EXPECT_EQ(r.when, 1700000000);

    // Another result for the board: both wait as a conflict.
    m_wall += 30;
    EXPECT_EQ(Send(1, 24, 40, "C"), ReportOutcome::Conflict);
    std::vector<PendingReport> list = m_inbox.Pending();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].state, PendingReport::State::Conflict);
    EXPECT_EQ(list[1].state, PendingReport::State::Conflict);
    EXPECT_EQ(list[1].when, 1700000030);
    // Rejecting one leaves the other as it was before.
    EXPECT_TRUE(m_inbox.Reject(list[1].id));
    EXPECT_FALSE(m_inbox.Reject(list[1].id));
    EXPECT_EQ(m_inbox.Pending()[0].state, PendingReport::State::Agreed);

    // A second board, then accepting the first clears its board only, and
    // the board then takes no more reports.
    EXPECT_EQ(Send(2, 32, 32, "D"), ReportOutcome::Received);
    EXPECT_EQ(Send(1, 30, 34, "E"), ReportOutcome::Conflict);
    const std::optional<PendingReport> taken = m_inbox.Accept(list[0].id);
    ASSERT_TRUE(taken);
    EXPECT_EQ(taken->first, 40);
    ASSERT_EQ(m_inbox.PendingCount(), 1u);
    EXPECT_EQ(m_inbox.Pending()[0].board, 2);
    EXPECT_FALSE(m_inbox.Accept(list[0].id));
    EXPECT_EQ(Send(1, 40, 24, "A"), ReportOutcome::Decided);
    // A board whose result the desk entered itself takes none either.
    EXPECT_EQ(Send(4, 40, 24, "A"), ReportOutcome::Decided);

    const auto counts = m_inbox.Counts();
    EXPECT_EQ(counts[static_cast<size_t>(ReportOutcome::Received)], 3u);
    EXPECT_EQ(counts[static_cast<size_t>(ReportOutcome::Agreed)], 2u);
    EXPECT_EQ(counts[static_cast<size_t>(ReportOutcome::Conflict)], 2u);
    EXPECT_EQ(counts[static_cast<size_t>(ReportOutcome::Decided)], 2u);
}

TEST_F(ReportInboxTest, WhatNoBoardCouldHaveReportedIsRefusedAndNeverListed)
{
    // Counts as the result editor reads them, both sides filling the board.
    for (const auto& [first, second] : std::vector<std::pair<std::string, std::string>>{{"40", "25"},
                                                                                        {"65", "-1"},
                                                                                        {"32.5", "31.5"},
                                                                                        {"+", "64"},
                                                                                        {"", "64"},
                                                                                        {"4O", "24"},
                                                                                        {"040", "24"},
                                                                                        {"64", "0x"},
                                                                                        {"99", "-35"},
                                                                                        {"1e1", "54"}})
        EXPECT_EQ(m_inbox.Submit("2", "1", first, second, Code(1), "A"), ReportOutcome::Invalid)
            << first << "-" << second;
    EXPECT_EQ(m_inbox.Submit("2", "1", "６４", " 0 ", Code(1), "B"), ReportOutcome::Received);
    EXPECT_EQ(m_inbox.Submit("２", "３", "0", "64", Code(3), "B"), ReportOutcome::Received);
    // Boards that do not exist, rounds that are not the current one.
    EXPECT_EQ(Send(5, 40, 24, "C"), ReportOutcome::Invalid);
    EXPECT_EQ(m_inbox.Submit("2", "1x", "40", "24", Code(1), "C"), ReportOutcome::Invalid);
    EXPECT_EQ(m_inbox.Submit("2", "99999999999", "40", "24", Code(1), "C"), ReportOutcome::Invalid);
    EXPECT_EQ(Send(1, 40, 24, "C", 1), ReportOutcome::WrongRound);
    EXPECT_EQ(Send(1, 40, 24, "C", 3), ReportOutcome::WrongRound);
    // The code of another board or round is a wrong code.
    EXPECT_EQ(m_inbox.Submit(2, 2, 40, 24, Code(1), "C"), ReportOutcome::WrongCode);
    EXPECT_EQ(m_inbox.Submit(2, 2, 40, 24, ReportCode(kKey, 1, 2), "C"), ReportOutcome::WrongCode);
    EXPECT_EQ(m_inbox.PendingCount(), 2u);

    // Switched off: nothing is taken.
    ReportContext off;
    m_inbox.SetContext(off);
    EXPECT_FALSE(m_inbox.IsOn());
    EXPECT_EQ(Send(2, 40, 24, "D"), ReportOutcome::Off);
    EXPECT_EQ(m_inbox.PendingCount(), 2u);
    EXPECT_EQ(HttpStatusOf(ReportOutcome::Off), 405);
    EXPECT_EQ(HttpStatusOf(ReportOutcome::WrongCode), 403);
    EXPECT_EQ(HttpStatusOf(ReportOutcome::WrongRound), 409);
    EXPECT_EQ(HttpStatusOf(ReportOutcome::Invalid), 400);
    EXPECT_EQ(HttpStatusOf(ReportOutcome::Limited), 429);
}

TEST_F(ReportInboxTest, WrongCodesLockTheBoardForAMinuteAndLimitsHold)
{
    // Five wrong codes from five addresses lock the board, even for the
    // right code, until the minute is over.
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(m_inbox.Submit(2, 1, 40, 24, "2222-2222", "x" + std::to_string(i)), ReportOutcome::WrongCode);
    EXPECT_EQ(Send(1, 40, 24, "A"), ReportOutcome::LockedOut);
    EXPECT_EQ(Send(2, 40, 24, "A"), ReportOutcome::Received); // other boards go on
    m_now += std::chrono::seconds(59);
    EXPECT_EQ(Send(1, 40, 24, "B"), ReportOutcome::LockedOut);
    m_now += std::chrono::seconds(1);
    EXPECT_EQ(Send(1, 40, 24, "B"), ReportOutcome::Received);

    // One address may send ten at once, then one every six seconds.
    for (int i = 0; i < 8; ++i)
        m_inbox.Submit(2, 3, 40, 24, "2222-2222", "F");
    EXPECT_EQ(m_inbox.Submit(2, 3, 40, 24, "2222-2222", "F"), ReportOutcome::LockedOut);
    EXPECT_EQ(m_inbox.Submit(2, 3, 40, 24, "2222-2222", "F"), ReportOutcome::LockedOut);
    EXPECT_EQ(m_inbox.Submit(2, 3, 40, 24, "2222-2222", "F"), ReportOutcome::Limited);
    m_now += std::chrono::seconds(6);
    EXPECT_EQ(Send(2, 40, 24, "F"), ReportOutcome::Agreed);

    // At most three reports wait for one board.
    m_now += std::chrono::minutes(5);
    EXPECT_EQ(Send(2, 30, 34, "G"), ReportOutcome::Conflict);
    EXPECT_EQ(Send(2, 20, 44, "H"), ReportOutcome::Conflict);
    EXPECT_EQ(Send(2, 10, 54, "I"), ReportOutcome::Limited);
    EXPECT_EQ(m_inbox.PendingCount(), 4u);
}

TEST_F(ReportInboxTest, TheListComesBackFromItsBytesAndAnyBytesAreSafe)
{
    Send(1, 40, 24, std::string("\x7f\0\0\x01", 4));
    Send(1, 40, 24, "B");
    Send(2, 33, 31, "C");
    Send(2, 0, 64, "D");
    m_wall += 5;
    Send(3, 64, 0, std::string(16, '\xff'));
    const std::string bytes = m_inbox.Serialize();

    CReportInbox again;
    int told = 0;
    again.SetOnChange([&] { ++told; });
    EXPECT_EQ(again.Restore(bytes), 4u);
    EXPECT_EQ(told, 1);
    EXPECT_EQ(again.Pending(), m_inbox.Pending());
    EXPECT_EQ(again.Serialize(), bytes);
    // A restored list goes on as before: the replay is known, ids are new.
    again.SetContext([] {
        ReportContext c;
        c.key = kKey;
        c.round = 2;
        c.boards = {{1, false}, {2, false}, {3, false}};
        return c;
    }());
    EXPECT_EQ(again.Submit(2, 3, 64, 0, ReportCode(kKey, 2, 3), std::string(16, '\xff')), ReportOutcome::Received);
    EXPECT_EQ(again.Submit(2, 3, 60, 4, ReportCode(kKey, 2, 3), "Z"), ReportOutcome::Conflict);
    std::vector<std::uint64_t> ids;
    for (const PendingReport& r : again.Pending())
        ids.push_back(r.id);
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(std::adjacent_find(ids.begin(), ids.end()), ids.end());

    // Lines out of range, doubled or cut are dropped one by one.
    const std::string odd = "TORVA-REPORTS 1\r\nnext 9\nreport 3 2 1 40 24 5 0 41\nreport 3 2 2 40 24 5 0 41\n"
                            "report 4 2 1 41 24 5 0 41\nreport 5 0 1 40 24 5 0 41\nreport 6 2 1 40 24 5 2 41\n"
                            "report 7 2 1 40 24 5 1 zz,41\nreport 8 2 1 40 24 5 1\n";
    CReportInbox restored;
    EXPECT_EQ(restored.Restore(odd), 1u);
    EXPECT_EQ(restored.Pending()[0].id, 3u);
    EXPECT_EQ(restored.Restore("TORVA-REPORTS 2\nreport 3 2 1 40 24 5 0 41\n"), 0u);

    // Random mutations of good bytes never crash and never list more than
    // the good bytes held.
    std::mt19937 random(19);
    for (int i = 0; i < 3000; ++i) {
        std::string b = bytes;
        for (int k = static_cast<int>(random() % 6); k >= 0; --k) {
            const size_t at = random() % (b.size() + 1);
            switch (random() % 3) {
            case 0:
                b.insert(at, 1, static_cast<char>(random()));
                break;
            case 1:
                if (at < b.size())
                    b.erase(at, 1);
                break;
            default:
                if (at < b.size())
                    b[at] = "0123456789 \n,"[random() % 13];
            }
        }
        CReportInbox fuzzed;
        EXPECT_LE(fuzzed.Restore(b), 4u) << b;
    }
}

} // namespace
} // namespace tabry
