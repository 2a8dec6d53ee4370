#include "paper/pdf/PdfRenderer.h"

#include "text/Cp932.h"

#include <cairo-pdf.h>
#include <cairo.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <unordered_map>

#if defined(__SANITIZE_ADDRESS__)
// fontconfig keeps its configuration and every font pattern it matched until
// FcFini(), which nothing may call while Qt in the same process still uses
// fontconfig; the sanitizer build would report those blocks at every exit of
// a program that set text here. LeakSanitizer asks the program for its
// suppressions through this function.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}
// ... and without a note on standard error that they were used, which would
// tell a torva-cli caller that something went wrong.
extern "C" const char* __lsan_default_options()
{
    return "print_suppressions=0";
}
#endif

namespace tabry::paper {

namespace {

cairo_status_t AppendBytes(void* closure, const unsigned char* data, unsigned int length)
{
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
}

struct GObjectRelease {
    void operator()(gpointer object) const { g_object_unref(object); }
};
using LayoutPtr = std::unique_ptr<PangoLayout, GObjectRelease>;
using ContextPtr = std::unique_ptr<PangoContext, GObjectRelease>;

// Shaped texts, one layout per text and size: the result table repeats the
// same few hundred texts tens of thousands of times.
class CLayoutCache {
public:
    explicit CLayoutCache(cairo_t* cr) : m_context(pango_cairo_create_context(cr))
    {
        // Unhinted metrics keep every advance exactly proportional to the
        // size, which is what the page description measured with.
        cairo_font_options_t* options = cairo_font_options_create();
        cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
        cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
        pango_cairo_context_set_font_options(m_context.get(), options);
        cairo_font_options_destroy(options);
        // Pango rounds glyph positions to whole units by default, which at
        // 11 pt (5.5 per half-width glyph) would stretch every number.
        pango_context_set_round_glyph_positions(m_context.get(), FALSE);
    }

    PangoLayout* Get(const TextItem& t)
    {
        std::string key(reinterpret_cast<const char*>(&t.size), sizeof t.size);
        key += t.text;
        auto it = m_layouts.find(key);
        if (it != m_layouts.end())
            return it->second.get();
        LayoutPtr layout(pango_layout_new(m_context.get()));
        PangoFontDescription* font = pango_font_description_new();
        const std::string family(kFontFamily);
        pango_font_description_set_family(font, family.c_str());
        pango_font_description_set_absolute_size(font, t.size * PANGO_SCALE);
        pango_layout_set_font_description(layout.get(), font);
        pango_font_description_free(font);
        const std::string utf8 = cp932::ToUtf8(t.text);
        pango_layout_set_text(layout.get(), utf8.data(), static_cast<int>(utf8.size()));
        return m_layouts.emplace(std::move(key), std::move(layout)).first->second.get();
    }

private:
    ContextPtr m_context;
    std::unordered_map<std::string, LayoutPtr> m_layouts;
};

void DrawText(cairo_t* cr, CLayoutCache& cache, const TextItem& t)
{
    PangoLayout* layout = cache.Get(t);
    int width = 0;
    int height = 0;
    pango_layout_get_size(layout, &width, &height);
    const double w = static_cast<double>(width) / PANGO_SCALE;
    const double ascent = static_cast<double>(pango_layout_get_baseline(layout)) / PANGO_SCALE;
    const double left = TextLeft(t, w);
    cairo_save(cr);
    cairo_translate(cr, left, Baseline(t));
    if (w > t.box.w && w > 0)
        cairo_scale(cr, t.box.w / w, 1.0); // another face than IPA Gothic: narrow it to its box
    cairo_move_to(cr, 0, -ascent);
    pango_cairo_show_layout(cr, layout);
    cairo_restore(cr);
}

void DrawPage(cairo_t* cr, CLayoutCache& cache, const Page& page)
{
    for (const FillItem& f : page.fills) {
        cairo_set_source_rgb(cr, f.gray, f.gray, f.gray);
        cairo_rectangle(cr, f.box.x, f.box.y, f.box.w, f.box.h);
        cairo_fill(cr);
    }
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_SQUARE);
    for (const LineItem& l : page.lines) {
        cairo_set_line_width(cr, l.width);
        cairo_move_to(cr, l.x1, l.y1);
        cairo_line_to(cr, l.x2, l.y2);
        cairo_stroke(cr);
    }
    cairo_set_source_rgb(cr, 0, 0, 0);
    for (const TextItem& t : page.texts) {
        if (!t.text.empty())
            DrawText(cr, cache, t);
    }
}

} // namespace

bool RenderPdf(const PaperDocument& doc, std::string& out, std::string* error)
{
    out.clear();
    Page blank;
    blank.width = kA4Short;
    blank.height = kA4Long;
    const Page& first = doc.pages.empty() ? blank : doc.pages.front();
    cairo_surface_t* surface = cairo_pdf_surface_create_for_stream(AppendBytes, &out, first.width, first.height);
    const std::string title = cp932::ToUtf8(doc.title);
    cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_TITLE, title.c_str());
    cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_CREATOR, "TORVA");
    cairo_t* cr = cairo_create(surface);
    {
        CLayoutCache cache(cr);
        if (doc.pages.empty()) {
            cairo_show_page(cr);
        }
        for (const Page& page : doc.pages) {
            cairo_pdf_surface_set_size(surface, page.width, page.height);
            DrawPage(cr, cache, page);
            cairo_show_page(cr);
        }
    }
    cairo_status_t status = cairo_status(cr);
    cairo_destroy(cr);
    cairo_surface_finish(surface);
    if (status == CAIRO_STATUS_SUCCESS)
        status = cairo_surface_status(surface);
    cairo_surface_destroy(surface);
    if (status != CAIRO_STATUS_SUCCESS) {
        out.clear();
        if (error != nullptr)
            *error = cairo_status_to_string(status);
        return false;
    }
    return true;
}

// cairo is always there: nothing to lend.
void SetFallbackPdfRenderer(PdfRendererFunction)
{
}

bool CanRenderPdf()
{
    return true;
}

} // namespace tabry::paper
