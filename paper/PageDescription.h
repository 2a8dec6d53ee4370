#pragma once
// A printed document as a list of pages of positioned boxes, texts and lines,
// laid out once here and drawn by two renderers: to PDF (paper/pdf) and to a
// printer or the print preview (paper/qt). Coordinates are points (1/72 inch)
// from the top-left corner of the page.
//
// Texts are Shift_JIS like everything else on the data side. They are set in
// IPA Gothic, a fixed-pitch face whose half-width characters are half an em
// wide and full-width ones a whole em, so a text's width follows from its
// bytes alone: TextWidth below. The layout therefore knows every text's width
// without a font engine and can promise that each stays inside its box; a
// renderer that meets a font with other widths (IPA Gothic missing, a glyph
// taken from another face) narrows that one text to its box.

#include <string>
#include <string_view>
#include <vector>

namespace tabry::paper {

struct Box {
    double x = 0;
    double y = 0;
    double w = 0;
    double h = 0;

    double Right() const { return x + w; }
    double Bottom() const { return y + h; }
};

enum class Align { Left, Center, Right };

// One line of text inside its box: vertically centred (the em box of `size`
// in the middle of the box), placed left, centred or right horizontally.
struct TextItem {
    Box box;
    std::string text; // Shift_JIS, one line
    double size = 10; // em size in points
    Align align = Align::Left;
};

// A straight line.
struct LineItem {
    double x1 = 0;
    double y1 = 0;
    double x2 = 0;
    double y2 = 0;
    double width = 0.5;
};

// A filled rectangle (behind the texts), in a grey level from 0 black to 1 white.
struct FillItem {
    Box box;
    double gray = 0.9;
};

struct Page {
    double width = 0;
    double height = 0;
    std::vector<FillItem> fills; // drawn first
    std::vector<LineItem> lines;
    std::vector<TextItem> texts;
};

struct PaperDocument {
    std::string title; // Shift_JIS, the document's title for the PDF's details and the print job
    std::vector<Page> pages;
};

// A4 in points.
constexpr double kA4Short = 595.276;
constexpr double kA4Long = 841.89;

// Where the baseline sits below the top of the em box, in ems: IPA Gothic's
// ascent. Both renderers put the baseline here, whatever face they get.
constexpr double kAscent = 0.88;

// The font the documents are set in (a fontconfig family name).
constexpr std::string_view kFontFamily = "IPAGothic";

// The width of a Shift_JIS text at `size` in IPA Gothic: half an em per byte.
inline double TextWidth(std::string_view text, double size)
{
    return static_cast<double>(text.size()) * size / 2.0;
}

// The top of a text's em box and its baseline, as both renderers place them.
inline double EmTop(const TextItem& t)
{
    return t.box.y + (t.box.h - t.size) / 2.0;
}
inline double Baseline(const TextItem& t)
{
    return EmTop(t) + kAscent * t.size;
}
// The left end of the text when it is `width` wide (narrowed to the box when
// wider).
double TextLeft(const TextItem& t, double width);

// A problem of a page description: a text that runs outside its box or off
// the page, or two texts whose boxes overlap.
struct LayoutProblem {
    int page = 0;
    std::string what; // UTF-8/ASCII, for test messages
};
// Every problem of the document (empty when it is sound).
std::vector<LayoutProblem> CheckLayout(const PaperDocument& doc);

} // namespace tabry::paper
