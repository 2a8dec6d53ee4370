#include "playerdb/PlayerText.h"

#include "text/Cp932.h"

#include <algorithm>
#include <array>

namespace tabry {

std::string FoldLowerCase(std::string_view text)
{
    std::string out(text);
    FoldLowerCaseInPlace(out);
    return out;
}

void FoldLowerCaseInPlace(std::string& text)
{
    for (size_t i = 0; i < text.size(); ++i) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (cp932::IsLeadByte(b) && i + 1 < text.size()
            && cp932::IsTrailByte(static_cast<unsigned char>(text[i + 1]))) {
            ++i; // keep both bytes of a double-byte character
        } else if (b >= 'A' && b <= 'Z') {
            text[i] = static_cast<char>(b - 'A' + 'a');
        }
    }
}

std::string EscapeField(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + 4);
    for (const char c : text) {
        if (c == '%')
            out += "%%";
        else if (c == ',')
            out += "%c";
        else
            out += c;
    }
    return out;
}

std::string UnescapeField(std::string_view text)
{
    if (text.find('%') == std::string_view::npos)
        return std::string(text); // nearly every field: no byte-wise copy
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (i + 1 >= text.size()) {
            out += '%';
            break;
        }
        out += text[i + 1] == 'c' ? ',' : '%';
        ++i;
    }
    return out;
}

std::string TrimBlanks(std::string_view text)
{
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    size_t b = 0;
    while (b < text.size() && blank(text[b]))
        ++b;
    size_t e = text.size();
    while (e > b && blank(text[e - 1]))
        --e;
    return std::string(text.substr(b, e - b));
}

namespace {

const std::array<const std::string*, 10>& DanTexts()
{
    static const std::array<const std::string*, 10> texts = {&SJ(""),     &SJ("初段"), &SJ("二段"), &SJ("三段"),
                                                             &SJ("四段"), &SJ("五段"), &SJ("六段"), &SJ("七段"),
                                                             &SJ("八段"), &SJ("九段")};
    return texts;
}

const std::array<const std::string*, 10>& KyuTexts()
{
    static const std::array<const std::string*, 10> texts = {&SJ(""),     &SJ("１級"), &SJ("２級"), &SJ("３級"),
                                                             &SJ("４級"), &SJ("５級"), &SJ("６級"), &SJ("７級"),
                                                             &SJ("８級"), &SJ("９級")};
    return texts;
}

constexpr std::array<int, 15> kComboGrades = {9, 8, 7, 6, 5, 4, 3, 2, 1, -1, -2, -3, -4, -5, 0};

} // namespace

std::string FormatGrade(int code)
{
    if (code >= 0)
        return *DanTexts()[static_cast<size_t>(std::min(code, 9))];
    // -code would overflow for INT_MIN; every code below -9 reads as -9.
    return *KyuTexts()[static_cast<size_t>(code < -9 ? 9 : -code)];
}

int GradeRankOfText(std::string_view text)
{
    static const std::array<const std::string*, 14> ranked = {
        &SJ("５級"), &SJ("４級"), &SJ("３級"), &SJ("２級"), &SJ("１級"), &SJ("初段"), &SJ("二段"),
        &SJ("三段"), &SJ("四段"), &SJ("五段"), &SJ("六段"), &SJ("七段"), &SJ("八段"), &SJ("九段")};
    for (size_t i = 0; i < ranked.size(); ++i)
        if (*ranked[i] == text)
            return static_cast<int>(i);
    return -1;
}

int GradeFromText(std::string_view text)
{
    const int p = GradeRankOfText(text);
    if (p < 0)
        return 0;
    return p <= 4 ? p - 5 : p - 4;
}

int GradeFromComboIndex(int index)
{
    index = std::clamp(index, 0, 14);
    return kComboGrades[static_cast<size_t>(index)];
}

int GradeToComboIndex(int code)
{
    for (size_t i = 0; i < kComboGrades.size(); ++i)
        if (kComboGrades[i] == code)
            return static_cast<int>(i);
    return 14;
}

const std::vector<std::string>& GradeComboTexts()
{
    // The eighth item is written with the katakana ニ; only the display differs,
    // because the combo box is always read by index.
    static const std::vector<std::string> texts = {SJ("九段"), SJ("八段"), SJ("七段"), SJ("六段"), SJ("五段"),
                                                   SJ("四段"), SJ("三段"), SJ("ニ段"), SJ("初段"), SJ("１級"),
                                                   SJ("２級"), SJ("３級"), SJ("４級"), SJ("５級"), SJ("無し")};
    return texts;
}

const std::vector<std::string>& PrefectureNames()
{
    static const std::vector<std::string> names = [] {
        const char* const utf8[kPrefectureCount] = {
            "北海道", "青森",   "岩手", "宮城", "秋田", "山形",   "福島", "茨城", "栃木", "群馬",   "埼玉", "千葉",
            "東京",   "神奈川", "新潟", "富山", "石川", "福井",   "山梨", "長野", "岐阜", "静岡",   "愛知", "三重",
            "滋賀",   "京都",   "大阪", "兵庫", "奈良", "和歌山", "鳥取", "島根", "岡山", "広島",   "山口", "徳島",
            "香川",   "愛媛",   "高知", "福岡", "佐賀", "長崎",   "熊本", "大分", "宮崎", "鹿児島", "沖縄"};
        std::vector<std::string> v;
        for (const char* name : utf8)
            v.push_back(cp932::FromUtf8(name));
        return v;
    }();
    return names;
}

int PrefectureIndexOfText(std::string_view text)
{
    const auto& names = PrefectureNames();
    for (size_t i = 0; i < names.size(); ++i)
        if (names[i] == text)
            return static_cast<int>(i);
    return -1;
}

} // namespace tabry
