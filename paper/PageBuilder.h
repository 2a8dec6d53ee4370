#pragma once
// The frame every printed document shares and the pieces of its tables: the
// header (tournament name, date, document title), the footer with "n / N",
// heading rows repeated on every page, and body rows of fitted texts.

#include "paper/PageDescription.h"

#include <string>
#include <vector>

namespace tabry::paper {

// The smallest size a text is shrunk to, still easy to read on paper; a
// longer text (a very long name) is cut there and ends in "…".
constexpr double kMinTextSize = 7.0;
// Column headings may go smaller: they are fixed words, never cut.
constexpr double kMinHeadingSize = 5.0;
// The room between a right-aligned number and its cell's border.
constexpr double kNumberPadding = 4.0;

// A text fitted to a cell: the cell inset by `padding` left and right, the
// size lowered until the text fits the inner box in width and height, but
// not below `minSize` (then cut, see kMinTextSize).
TextItem FitText(const Box& cell, std::string text, double size, Align align, double padding = 2.0,
                 double minSize = kMinTextSize);

struct Column {
    std::string heading; // Shift_JIS
    double width = 0;
    Align align = Align::Left;
    double size = 10; // body text size
};

// A body cell: one line, or two (an upper and a lower half).
struct Cell {
    std::string text;
    std::string second;
};

struct FrameTexts {
    std::string tournament; // Shift_JIS; may be empty
    std::string date;       // Shift_JIS; may be empty
    std::string title;      // Shift_JIS
    bool landscape = false;
};

class CPageBuilder {
public:
    explicit CPageBuilder(FrameTexts frame);

    // A new page with the header drawn; rows go from ContentTop() down.
    // `subtitle` (may be empty) stands at the right end of the title line.
    Page& StartPage(const std::string& subtitle = {});
    Page& Current() { return m_doc.pages.back(); }
    int PageCount() const { return static_cast<int>(m_doc.pages.size()); }

    double Left() const { return m_margin; }
    double Width() const { return m_width - 2 * m_margin; }
    double ContentTop() const;
    double ContentBottom() const;

    // A grey heading row of the columns from `x` at `y`; returns its bottom.
    double HeadingRow(const std::vector<Column>& columns, double x, double y, double height);
    // A body row; missing cells are empty. Returns its bottom.
    double BodyRow(const std::vector<Column>& columns, const std::vector<Cell>& cells, double x, double y,
                   double height);
    // A caption across `width`, left-aligned; `ruled`: a section of a list,
    // with a rule below it.
    double CaptionRow(const std::string& text, double x, double y, double width, double height, double size,
                      bool ruled = true);

    // Puts "n / N" into every page's footer and hands the document over.
    PaperDocument Finish();

private:
    FrameTexts m_frame;
    PaperDocument m_doc;
    double m_width;
    double m_height;
    double m_margin;
};

// "2024年5月3日", or empty when the tournament has no date.
std::string DateText(int year, int month, int day);

} // namespace tabry::paper
