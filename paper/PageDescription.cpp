#include "paper/PageDescription.h"

#include <algorithm>
#include <sstream>

namespace tabry::paper {

namespace {

constexpr double kEpsilon = 1e-6;

// Where the glyphs of a text go: its width from the left end, its em box.
struct Extent {
    double left, top, right, bottom;
    size_t index;
};

std::string Describe(const TextItem& t)
{
    std::ostringstream os;
    os << "text of " << t.text.size() << " bytes at (" << t.box.x << ", " << t.box.y << ") size " << t.size;
    return os.str();
}

} // namespace

std::vector<LayoutProblem> CheckLayout(const PaperDocument& doc)
{
    std::vector<LayoutProblem> problems;
    for (size_t p = 0; p < doc.pages.size(); ++p) {
        const Page& page = doc.pages[p];
        const int n = static_cast<int>(p) + 1;
        std::vector<Extent> extents;
        for (size_t i = 0; i < page.texts.size(); ++i) {
            const TextItem& t = page.texts[i];
            const Box& b = t.box;
            if (t.text.empty() || t.size <= 0)
                problems.push_back({n, "empty " + Describe(t)});
            if (TextWidth(t.text, t.size) > b.w + kEpsilon)
                problems.push_back({n, "too wide: " + Describe(t)});
            if (t.size > b.h + kEpsilon)
                problems.push_back({n, "too tall: " + Describe(t)});
            if (b.x < -kEpsilon || b.y < -kEpsilon || b.Right() > page.width + kEpsilon
                || b.Bottom() > page.height + kEpsilon)
                problems.push_back({n, "off the page: " + Describe(t)});
            const double left = TextLeft(t, TextWidth(t.text, t.size));
            extents.push_back({left, EmTop(t), left + TextWidth(t.text, t.size), EmTop(t) + t.size, i});
        }
        // Two texts overlap when their glyph areas do; touching is fine.
        std::sort(extents.begin(), extents.end(), [](const Extent& a, const Extent& b) { return a.top < b.top; });
        for (size_t i = 0; i < extents.size(); ++i) {
            for (size_t j = i + 1; j < extents.size() && extents[j].top < extents[i].bottom - kEpsilon; ++j) {
                const Extent& a = extents[i];
                const Extent& b = extents[j];
                if (a.left < b.right - kEpsilon && b.left < a.right - kEpsilon)
                    problems.push_back(
                        {n, "overlap: " + Describe(page.texts[a.index]) + " and " + Describe(page.texts[b.index])});
            }
        }
    }
    return problems;
}

} // namespace tabry::paper
