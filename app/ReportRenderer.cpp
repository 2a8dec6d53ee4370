// The writers behind the output commands: the table of output kinds.

#include "app/ReportCommand.h"

#include "core/TournamentData.h"
#include "paper/pdf/PdfRenderer.h"
#include "paper/qt/PaperPainter.h"

namespace tabry::app {

namespace {

class WriterRenderer : public IReportRenderer {
public:
    // Where cairo and pango are absent (Windows), the PDF kinds are drawn
    // the way the printer is, into QPdfWriter; elsewhere this changes nothing.
    WriterRenderer() { paper::SetFallbackPdfRenderer(&paper::RenderPdfWithQt); }

    OutputStatus Render(OutputKind kind, const TournamentData& data, int round, const OutputOptions& options,
                        std::string& out, std::string* message) override
    {
        return RenderOutput(kind, data, round, options, out, message);
    }
    std::string DefaultFileName(std::string_view title) override { return DefaultReportFileName(title); }
};

} // namespace

IReportRenderer& ReportRenderer()
{
    static WriterRenderer renderer;
    return renderer;
}

} // namespace tabry::app
