// The PDF renderer of a build without cairo and pango (the Windows cross
// build): the desktop program lends it its QPainter renderer; torva-cli has
// none, and every PDF kind fails with a reason instead of writing a bad file.
#include "paper/pdf/PdfRenderer.h"

namespace tabry::paper {

namespace {
PdfRendererFunction g_fallback = nullptr;
} // namespace

void SetFallbackPdfRenderer(PdfRendererFunction render)
{
    g_fallback = render;
}

bool CanRenderPdf()
{
    return g_fallback != nullptr;
}

bool RenderPdf(const PaperDocument& doc, std::string& out, std::string* error)
{
    if (g_fallback != nullptr)
        return g_fallback(doc, out, error);
    out.clear();
    if (error)
        *error = "この版には PDF を作る機能がありません。"; // shown after a Japanese sentence
    return false;
}

} // namespace tabry::paper
