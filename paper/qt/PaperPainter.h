#pragma once
// Draws a page description with QPainter, for the printer and the print
// preview: the same boxes, lines and texts at the same places as the PDF
// renderer, the texts set in IPA Gothic with their baselines where the page
// description puts them.

#include <string>

class QPainter;
class QPrinter;

namespace tabry::paper {

struct Page;
struct PaperDocument;

// Draws one page. The painter's coordinates must be points from the page's
// top-left corner.
void PaintPage(QPainter& painter, const Page& page);

// A4 in the orientation of the document's first page, the whole sheet as
// the page (the documents keep their own margins), and the document's title
// as the job's name.
void PreparePrinter(QPrinter& printer, const PaperDocument& doc);

// Prints the pages of `doc` that the printer's page ranges select (all when
// none are set). False when painting on the printer cannot start.
bool PrintDocument(QPrinter& printer, const PaperDocument& doc);

// The document as a PDF drawn through PaintPage into QPdfWriter, each page
// A4 in its own orientation, the fonts' used glyphs embedded: the PDF export
// of a desktop build without cairo and pango (see SetFallbackPdfRenderer).
// False with a reason (UTF-8, Japanese) when the PDF cannot be written.
bool RenderPdfWithQt(const PaperDocument& doc, std::string& out, std::string* error);

} // namespace tabry::paper
