#include "paper/PageBuilder.h"

#include "text/Cp932.h"

#include <algorithm>

namespace tabry::paper {

namespace {

constexpr double kTopMargin = 30;
constexpr double kBottomMargin = 28;
constexpr double kHeaderHeight = 54; // name and date, title, rule
constexpr double kFooterHeight = 20;
constexpr double kRule = 1.0;
constexpr double kGrid = 0.5;

// The longest head of `text` (whole characters) that, followed by "…",
// takes at most `bytes` bytes.
std::string CutWithEllipsis(const std::string& text, size_t bytes)
{
    const std::string& ellipsis = SJ("…");
    if (bytes < ellipsis.size())
        return {};
    return text.substr(0, cp932::WholeCharsLength(text, bytes - ellipsis.size())) + ellipsis;
}

} // namespace

double TextLeft(const TextItem& t, double width)
{
    const double w = std::min(width, t.box.w);
    switch (t.align) {
    case Align::Left:
        return t.box.x;
    case Align::Center:
        return t.box.x + (t.box.w - w) / 2.0;
    case Align::Right:
        return t.box.Right() - w;
    }
    return t.box.x;
}

TextItem FitText(const Box& cell, std::string text, double size, Align align, double padding, double minSize)
{
    TextItem item;
    item.box = Box{cell.x + padding, cell.y, std::max(0.0, cell.w - 2 * padding), cell.h};
    item.align = align;
    item.size = std::min(size, item.box.h);
    if (!text.empty() && TextWidth(text, item.size) > item.box.w)
        item.size = item.box.w * 2.0 / static_cast<double>(text.size());
    if (item.size < minSize) {
        item.size = std::min(minSize, item.box.h);
        if (TextWidth(text, item.size) > item.box.w)
            text = CutWithEllipsis(text, static_cast<size_t>(item.box.w * 2.0 / item.size));
    }
    item.text = std::move(text);
    return item;
}

std::string DateText(int year, int month, int day)
{
    if (year <= 0)
        return {};
    return cp932::FromUtf8(std::to_string(year) + "年" + std::to_string(month) + "月" + std::to_string(day) + "日");
}

CPageBuilder::CPageBuilder(FrameTexts frame)
    : m_frame(std::move(frame)), m_width(m_frame.landscape ? kA4Long : kA4Short),
      m_height(m_frame.landscape ? kA4Short : kA4Long), m_margin(m_frame.landscape ? 30 : 36)
{
    m_doc.title = m_frame.title;
}

double CPageBuilder::ContentTop() const
{
    return kTopMargin + kHeaderHeight;
}

double CPageBuilder::ContentBottom() const
{
    return m_height - kBottomMargin - kFooterHeight;
}

Page& CPageBuilder::StartPage(const std::string& subtitle)
{
    Page& page = m_doc.pages.emplace_back();
    page.width = m_width;
    page.height = m_height;
    const double w = Width();
    if (!m_frame.tournament.empty())
        page.texts.push_back(FitText(Box{Left(), kTopMargin, w * 0.7, 18}, m_frame.tournament, 12, Align::Left, 0));
    if (!m_frame.date.empty())
        page.texts.push_back(
            FitText(Box{Left() + w * 0.7, kTopMargin, w * 0.3, 18}, m_frame.date, 10, Align::Right, 0));
    page.texts.push_back(FitText(Box{Left(), kTopMargin + 20, w * 0.6, 24}, m_frame.title, 18, Align::Left, 0));
    if (!subtitle.empty())
        page.texts.push_back(
            FitText(Box{Left() + w * 0.6, kTopMargin + 20, w * 0.4, 24}, subtitle, 11, Align::Right, 0));
    const double rule = kTopMargin + kHeaderHeight - 8;
    page.lines.push_back(LineItem{Left(), rule, Left() + w, rule, kRule});
    return page;
}

double CPageBuilder::HeadingRow(const std::vector<Column>& columns, double x, double y, double height)
{
    Page& page = Current();
    double width = 0;
    for (const Column& c : columns)
        width += c.width;
    page.fills.push_back(FillItem{Box{x, y, width, height}, 0.88});
    page.lines.push_back(LineItem{x, y, x + width, y, kGrid * 2});
    page.lines.push_back(LineItem{x, y + height, x + width, y + height, kGrid * 2});
    double left = x;
    for (const Column& c : columns) {
        if (!c.heading.empty())
            page.texts.push_back(
                FitText(Box{left, y, c.width, height}, c.heading, 9, Align::Center, 2.0, kMinHeadingSize));
        page.lines.push_back(LineItem{left, y, left, y + height, kGrid});
        left += c.width;
    }
    page.lines.push_back(LineItem{left, y, left, y + height, kGrid});
    return y + height;
}

double CPageBuilder::BodyRow(const std::vector<Column>& columns, const std::vector<Cell>& cells, double x, double y,
                             double height)
{
    Page& page = Current();
    double left = x;
    for (size_t i = 0; i < columns.size(); ++i) {
        const Column& c = columns[i];
        const Cell* cell = i < cells.size() ? &cells[i] : nullptr;
        const double padding = c.align == Align::Right ? kNumberPadding : 2.0;
        if (cell != nullptr && cell->second.empty() && !cell->text.empty()) {
            page.texts.push_back(FitText(Box{left, y, c.width, height}, cell->text, c.size, c.align, padding));
        } else if (cell != nullptr) {
            // Two lines share the row; their texts may go as small as the
            // half row allows.
            const double half = height / 2.0;
            const double minSize = std::min(kMinTextSize, half - 0.5);
            if (!cell->text.empty())
                page.texts.push_back(
                    FitText(Box{left, y + 0.5, c.width, half - 0.5}, cell->text, c.size, c.align, padding, minSize));
            if (!cell->second.empty())
                page.texts.push_back(
                    FitText(Box{left, y + half, c.width, half - 0.5}, cell->second, c.size, c.align, padding, minSize));
        }
        page.lines.push_back(LineItem{left, y, left, y + height, kGrid});
        left += c.width;
    }
    page.lines.push_back(LineItem{left, y, left, y + height, kGrid});
    page.lines.push_back(LineItem{x, y + height, left, y + height, kGrid});
    return y + height;
}

double CPageBuilder::CaptionRow(const std::string& text, double x, double y, double width, double height, double size,
                                bool ruled)
{
    Page& page = Current();
    page.texts.push_back(FitText(Box{x, y, width, height}, text, size, Align::Left, ruled ? 2.0 : 0.0));
    if (ruled)
        page.lines.push_back(LineItem{x, y + height, x + width, y + height, kGrid * 2});
    return y + height;
}

PaperDocument CPageBuilder::Finish()
{
    const int count = PageCount();
    for (int n = 0; n < count; ++n) {
        Page& page = m_doc.pages[static_cast<size_t>(n)];
        const std::string number = std::to_string(n + 1) + " / " + std::to_string(count);
        page.texts.push_back(
            FitText(Box{Left(), m_height - kBottomMargin - 14, Width(), 14}, number, 9, Align::Center, 0));
    }
    return std::move(m_doc);
}

} // namespace tabry::paper
