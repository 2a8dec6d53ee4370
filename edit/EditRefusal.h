#pragma once
// Why the editor refused a change: a code and what it names. The desktop
// program words it in Japanese (edit/EditTexts.h), torva-cli in English.

namespace tabry {

enum class RefusalCode {
    None,
    OutOfTable,         // a row or round outside the table
    BadRecord,          // a person outside the player database, or the bye record
    BadResult,          // a result code that no game has
    EmptyRow,           // the row holds no player
    NoSuchOpponent,     // the opponent's row holds no player, or is the row itself
    PlayerInOtherRow,   // the person already plays in another row (`other`)
    Withdrawn,          // the row's player no longer plays in that round
    OpponentWithdrawn,  // the opponent (`other`) no longer plays in that round
    WithdrawalTooEarly, // he has a result in a later round (`other`: the earliest round he can leave)
    AlreadyWithdrawn,   // he already left from that round
    NotWithdrawn,       // there is no withdrawal to take back
    Absent,             // the row's player sits that round out
    OpponentAbsent,     // the opponent (`other`) sits that round out
    HasGame,            // he has a game (or the bye) in the round he would sit out
    NotAbsent,          // he does not sit that round out: nothing to take back
    TableFull,          // the table has its largest size
    BadSize,            // a player or round count the table cannot have
    RebuildDropsPlayer, // the new player list leaves out a person a row plays as (`record`)
    Declined,           // the question before the change was answered No
    StaleStep,          // an undo or redo of a step that does not belong to the tournament as it is
    BadReportingKey,    // a reporting key that is not 32 lowercase hexadecimal digits
};

// Why a change was refused, with what the reason names.
struct EditRefusal {
    RefusalCode code = RefusalCode::None;
    int row = -1;    // the row concerned
    int round = -1;  // the round, from 0
    int other = -1;  // see RefusalCode
    int record = -1; // the person concerned

    explicit operator bool() const { return code != RefusalCode::None; }
    friend bool operator==(const EditRefusal&, const EditRefusal&) = default;
};

} // namespace tabry
