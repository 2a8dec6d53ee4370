#pragma once
// Draws a page description into a PDF with cairo, setting the texts with
// pango: pango shapes the Japanese text and cairo embeds subsets of the fonts
// it used, so the file prints the same anywhere. Needs no display.

#include "paper/PageDescription.h"

#include <string>

namespace tabry::paper {

// Puts the PDF's bytes into `out` and returns true; on failure returns false
// with cairo's reason (English) in `error`. A document without pages becomes
// one empty A4 page.
bool RenderPdf(const PaperDocument& doc, std::string& out, std::string* error = nullptr);

// A build without cairo and pango (Windows) has no renderer of its own; the
// desktop program lends it the one it prints with (paper/qt), so its PDF
// export works there. Set once at start-up, before any thread renders.
using PdfRendererFunction = bool (*)(const PaperDocument& doc, std::string& out, std::string* error);
void SetFallbackPdfRenderer(PdfRendererFunction render);
// Whether RenderPdf can succeed in this program.
bool CanRenderPdf();

} // namespace tabry::paper
