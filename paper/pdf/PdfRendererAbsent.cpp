// The PDF renderer of a build without cairo and pango (the Windows cross
// build): every PDF kind fails with a reason instead of writing a bad file.
#include "paper/pdf/PdfRenderer.h"

namespace tabry::paper {

bool RenderPdf(const PaperDocument&, std::string& out, std::string* error)
{
    out.clear();
    if (error)
        *error = "this build has no PDF renderer";
    return false;
}

} // namespace tabry::paper
