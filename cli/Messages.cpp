#include "cli/Messages.h"

#include "text/FileIo.h"

#include <iostream>

namespace tabry::cli {

std::string LoadFailureText(const std::filesystem::path& file, const LoadReport& report)
{
    const std::string name = PathText(file) + ": ";
    switch (report.status) {
    case LoadStatus::Ok:
        return {};
    case LoadStatus::CannotOpen:
    case LoadStatus::NulByte:
        return FileErrorText(report.file);
    case LoadStatus::Empty:
        return name + "the file is empty, not a tournament file";
    case LoadStatus::Rejected:
        return name
               + "not a tournament file (the first line must hold five numbers: players 1-512, rounds 1-128, "
                 "display mode, tie-break method, Brightwell coefficient)";
    case LoadStatus::BadEventLine:
        return name + "line " + std::to_string(report.faultLine) + ": "
               + (report.findings.empty() ? std::string("an event line") : FindingText(report.findings.back()))
               + "; the file is refused";
    case LoadStatus::Damaged:
        return name + "it cannot be read as it is written (see the lines above)";
    }
    return {};
}

std::string FindingText(const ReadFinding& f)
{
    const std::string row = std::to_string(f.row + 1);
    switch (f.kind) {
    case FindingKind::WrongFieldCount:
        return "player line has " + std::to_string(f.fields) + " fields, " + std::to_string(f.expected)
               + " expected; row " + row + " read as empty";
    case FindingKind::DetailsAmongPlayers:
        return "a '#' line among the player lines; row " + row + " read as empty";
    case FindingKind::FileEndsEarly:
        return "the file ends after " + std::to_string(f.row) + " of " + std::to_string(f.expected) + " rows; rows "
               + row + " to " + std::to_string(f.expected) + " read as empty";
    case FindingKind::LinesAfterTable:
        return std::to_string(f.fields) + (f.fields == 1 ? " line" : " lines") + " after the last row not read";
    case FindingKind::WithdrawalOfEmptyRow:
        return "withdrawal of row " + row + " dropped: the row holds no player";
    case FindingKind::AbsenceOfEmptyRow:
        return "absence of row " + row + " dropped: the row holds no player";
    case FindingKind::BadEventLine:
        return "\"##" + (f.key.empty() ? std::string("?") : f.key)
               + ":\" line cannot be read or names a row or round outside the table";
    }
    return {};
}

void WarnFindings(const std::filesystem::path& file, const ReadFindings& findings)
{
    for (const ReadFinding& f : findings)
        std::cerr << "torva-cli: " << PathText(file) << ":" << f.line << ": " << FindingText(f) << "\n";
}

std::string RefusalText(const EditRefusal& refusal)
{
    const std::string row = "row " + std::to_string(refusal.row + 1);
    const std::string round = "round " + std::to_string(refusal.round + 1);
    switch (refusal.code) {
    case RefusalCode::None:
        return {};
    case RefusalCode::OutOfTable:
        return "outside the table";
    case RefusalCode::BadRecord:
        return "no such player in the player database";
    case RefusalCode::BadResult:
        return "no game has that result";
    case RefusalCode::EmptyRow:
        return row + " holds no player";
    case RefusalCode::NoSuchOpponent:
        return "no such opponent";
    case RefusalCode::PlayerInOtherRow:
        return "the player already plays in row " + std::to_string(refusal.other + 1);
    case RefusalCode::Withdrawn:
        return "the player of " + row + " withdrew before " + round;
    case RefusalCode::OpponentWithdrawn:
        return "the player of row " + std::to_string(refusal.other + 1) + " withdrew before " + round;
    case RefusalCode::WithdrawalTooEarly:
        return "the player of " + row + " has a result in round " + std::to_string(refusal.other);
    case RefusalCode::AlreadyWithdrawn:
        return "the player of " + row + " already withdrew from " + round;
    case RefusalCode::NotWithdrawn:
        return "the player of " + row + " has not withdrawn";
    case RefusalCode::Absent:
        return "the player of " + row + " sits out " + round;
    case RefusalCode::OpponentAbsent:
        return "the opponent of " + row + " sits out " + round;
    case RefusalCode::HasGame:
        return "the player of " + row + " has a game in " + round;
    case RefusalCode::NotAbsent:
        return "the player of " + row + " does not sit out " + round;
    case RefusalCode::TableFull:
        return "the table has its largest size";
    case RefusalCode::BadSize:
        return "a table has 1 to 512 rows and 1 to 128 rounds";
    case RefusalCode::RebuildDropsPlayer:
        return "a player of the table would be left out of the player database";
    case RefusalCode::Declined:
        return "declined";
    case RefusalCode::StaleStep:
        return "the step does not belong to the tournament as it is";
    case RefusalCode::BadReportingKey:
        return "a reporting key is 32 lowercase hexadecimal digits";
    }
    return {};
}

} // namespace tabry::cli
