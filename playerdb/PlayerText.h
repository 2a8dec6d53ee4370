#pragma once
// Text functions shared by the player database, its file and its dialogs:
// lower-case folding for searches, the comma-field escaping of the database
// and tournament files, blank trimming, and the grade and prefecture codes.
// All texts are Shift_JIS bytes.

#include <string>
#include <string_view>
#include <vector>

namespace tabry {

// Folds ASCII 'A'..'Z' to lower case and leaves every double-byte character
// (lead byte followed by a valid trail byte) alone, so a trail byte in the
// 'A'..'Z' range is never altered.
std::string FoldLowerCase(std::string_view text);
void FoldLowerCaseInPlace(std::string& text);

// '%' -> "%%", ',' -> "%c"; every other byte unchanged.
std::string EscapeField(std::string_view text);
// "%%" -> '%', "%c" -> ','; '%' and any other byte -> '%' (the byte is dropped);
// a '%' that ends the text stays.
std::string UnescapeField(std::string_view text);

// Removes leading and trailing blanks (0x20) and tabs. The full-width space is
// not a blank. The text is kept whole however long it is.
std::string TrimBlanks(std::string_view text);

// Grade codes: 1..9 dan, -1..-9 kyu, 0 none.
// "初段".."九段" for 1..9 (codes above 9 read as 9), "１級".."９級" for -1..-9
// (below -9 read as -9), empty for 0.
std::string FormatGrade(int code);
// Position 0..13 of the text in "５級" .. "１級", "初段" .. "九段", or -1.
int GradeRankOfText(std::string_view text);
// Grade code of a text: "５級".."１級" -> -5..-1, "初段".."九段" -> 1..9, else 0.
int GradeFromText(std::string_view text);
// Grade code of an item of the grade combo box (indices below 0 read as 0,
// above 14 as 14).
int GradeFromComboIndex(int index);
// Combo-box index of a grade code; 14 ("無し") for codes without an item.
int GradeToComboIndex(int code);
// The fifteen items of the grade combo box, in order.
const std::vector<std::string>& GradeComboTexts();

constexpr int kPrefectureCount = 47;
// The 47 prefectures in code order, without their 都/府/県 suffix.
const std::vector<std::string>& PrefectureNames();
// Prefecture number 0..46 of a text equal to one of the names, else -1.
int PrefectureIndexOfText(std::string_view text);

} // namespace tabry
