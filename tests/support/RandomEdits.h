#pragma once
// Random changes through the editor, as an organiser might make them in any
// order: games entered, changed and cleared (byes too), players set, swapped
// and removed, withdrawn and taken back, rounds paired and deleted, sorts,
// rows added at the end, settings (size and bye rule included), details,
// player records edited, the user DB rebuilt. The same seed gives the same
// changes, so a run can be replayed exactly.

#include "edit/TournamentEditor.h"

#include <cstdint>
#include <random>
#include <string>

namespace tabry::test {

class CRandomEdits {
public:
    // `maxPlayers` and `maxRounds` bound the sizes the settings change to.
    CRandomEdits(std::uint32_t seed, int maxPlayers = 24, int maxRounds = 8);

    // A tournament to start from: a few people in the database, the first
    // rows filled.
    static TournamentData Start(int players, int rounds, int people);

    // Makes one random change (which may turn out to change nothing) and
    // says what it tried, for failure messages.
    std::string Apply(CTournamentEditor& editor);

private:
    int Pick(int lo, int hi); // lo..hi inclusive

    std::mt19937 m_rng;
    std::uint32_t m_pairingSeed;
    int m_newPeople = 0; // names of added people stay unique
    int m_maxPlayers;
    int m_maxRounds;
};

} // namespace tabry::test
