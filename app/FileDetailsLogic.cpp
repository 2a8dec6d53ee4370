#include "app/FileDetailsLogic.h"

#include "core/TournamentInfo.h"
#include "widgets/TextCodec.h"

namespace tabry::app {

namespace {

struct IntRange {
    DetailsField field;
    int minimum;
    int maximum;
};

constexpr IntRange kRanges[] = {
    {DetailsField::Year, 0, 9999},
    {DetailsField::Month, 1, 12},
    {DetailsField::Day, 1, 31},
};

const QString& TextOf(const DetailsText& t, DetailsField f)
{
    switch (f) {
    case DetailsField::Year:
        return t.year;
    case DetailsField::Month:
        return t.month;
    case DetailsField::Day:
        return t.day;
    case DetailsField::Name:
        break;
    }
    return t.name;
}

} // namespace

DetailsText DetailsText::FromInfo(const CTournamentInfo& info)
{
    return {ui::ToQString(info.name), QString::number(info.year), QString::number(info.month),
            QString::number(info.day)};
}

std::optional<int> ParseIntegerField(const QString& text)
{
    const QString t = text.trimmed();
    int i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
        negative = t[i] == '-';
        ++i;
    }
    if (i == t.size())
        return std::nullopt;
    long long value = 0;
    for (; i < t.size(); ++i) {
        if (t[i] < '0' || t[i] > '9')
            return std::nullopt;
        value = value * 10 + (t[i].unicode() - '0');
        if (value > 0x7fffffffLL)
            return std::nullopt;
    }
    return static_cast<int>(negative ? -value : value);
}

std::optional<DetailsError> ValidateDetails(const DetailsText& text)
{
    // A line break would split the name's line in the tournament file.
    if (text.name.contains('\n') || text.name.contains('\r'))
        return DetailsError{DetailsField::Name, QStringLiteral("大会名に改行を含めることはできません。")};
    if (!ui::IsSjisEncodable(text.name))
        return DetailsError{DetailsField::Name, QStringLiteral("大会名に使用できない文字が含まれています。")};
    if (ui::ToSjis(text.name).size() > static_cast<size_t>(kMaxNameBytes))
        return DetailsError{DetailsField::Name, QStringLiteral("%1 文字以内で入力してください。").arg(kMaxNameBytes)};
    for (const IntRange& r : kRanges) {
        const std::optional<int> v = ParseIntegerField(TextOf(text, r.field));
        if (!v)
            return DetailsError{r.field, QStringLiteral("整数を入力してください。")};
        if (*v < r.minimum || *v > r.maximum)
            return DetailsError{
                r.field, QStringLiteral("%1 から %2 までの整数を入力してください。").arg(r.minimum).arg(r.maximum)};
    }
    return std::nullopt;
}

void ApplyDetails(const DetailsText& text, CTournamentInfo& info)
{
    info.name = ui::ToSjis(text.name);
    info.year = ParseIntegerField(text.year).value_or(0);
    info.month = ParseIntegerField(text.month).value_or(1);
    info.day = ParseIntegerField(text.day).value_or(1);
}

} // namespace tabry::app
