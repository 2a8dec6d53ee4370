#include "paper/qt/PaperPainter.h"

#include "paper/PageDescription.h"
#include "widgets/TextCodec.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPen>
#include <QPrinter>

#include <map>
#include <utility>

namespace tabry::paper {

namespace {

// Texts are set at this many times their size and drawn scaled down by as
// much: Qt rounds glyph advances to whole units of the font's pixel size,
// which at 7.5 units would make "○+31" a point and a quarter too wide.
constexpr double kOversize = 64.0;

QFont FontOf(const QPainter& painter, double size)
{
    QFont font(QString::fromLatin1(kFontFamily.data(), static_cast<qsizetype>(kFontFamily.size())));
    font.setStyleHint(QFont::Monospace);
    font.setKerning(false);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::ForceOutline);
    // Point sizes are converted with the device's resolution, while the
    // painter already scales points to the device: undo the first.
    font.setPointSizeF(size * kOversize * 72.0 / painter.device()->logicalDpiY());
    return font;
}

// The font and its metrics of each size on a page: a page of the result
// table has some eight hundred texts in four sizes.
class CFonts {
public:
    explicit CFonts(const QPainter& painter) : m_painter(painter) {}

    const std::pair<QFont, QFontMetricsF>& Of(double size)
    {
        auto it = m_fonts.find(size);
        if (it == m_fonts.end()) {
            const QFont font = FontOf(m_painter, size);
            it = m_fonts.emplace(size, std::make_pair(font, QFontMetricsF(font, m_painter.device()))).first;
        }
        return it->second;
    }

private:
    const QPainter& m_painter;
    std::map<double, std::pair<QFont, QFontMetricsF>> m_fonts;
};

void PaintText(QPainter& painter, CFonts& fonts, const TextItem& t)
{
    const auto& [font, metrics] = fonts.Of(t.size);
    painter.setFont(font);
    const QString text = ui::ToQString(t.text);
    const double width = metrics.horizontalAdvance(text) / kOversize;
    painter.save();
    painter.translate(TextLeft(t, width), Baseline(t));
    if (width > t.box.w && width > 0)
        painter.scale(t.box.w / width, 1.0); // another face than IPA Gothic: narrow it to its box
    painter.scale(1 / kOversize, 1 / kOversize);
    painter.drawText(QPointF(0, 0), text);
    painter.restore();
}

} // namespace

void PaintPage(QPainter& painter, const Page& page)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    for (const FillItem& f : page.fills)
        painter.fillRect(QRectF(f.box.x, f.box.y, f.box.w, f.box.h), QColor::fromRgbF(f.gray, f.gray, f.gray));
    for (const LineItem& l : page.lines) {
        painter.setPen(QPen(Qt::black, l.width, Qt::SolidLine, Qt::SquareCap));
        painter.drawLine(QPointF(l.x1, l.y1), QPointF(l.x2, l.y2));
    }
    painter.setPen(Qt::black);
    CFonts fonts(painter);
    for (const TextItem& t : page.texts) {
        if (!t.text.empty())
            PaintText(painter, fonts, t);
    }
    painter.restore();
}

void PreparePrinter(QPrinter& printer, const PaperDocument& doc)
{
    const bool landscape = !doc.pages.empty() && doc.pages.front().width > doc.pages.front().height;
    printer.setFullPage(true);
    printer.setPageLayout(
        QPageLayout(QPageSize(QPageSize::A4), landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF()));
    printer.setDocName(ui::ToQString(doc.title));
}

bool PrintDocument(QPrinter& printer, const PaperDocument& doc)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const QPageRanges ranges = printer.pageRanges();
    const double scaleX = printer.logicalDpiX() / 72.0;
    const double scaleY = printer.logicalDpiY() / 72.0;
    bool first = true;
    for (size_t i = 0; i < doc.pages.size(); ++i) {
        if (!ranges.isEmpty() && !ranges.contains(static_cast<int>(i) + 1))
            continue;
        if (!first)
            printer.newPage();
        first = false;
        painter.save();
        painter.scale(scaleX, scaleY);
        PaintPage(painter, doc.pages[i]);
        painter.restore();
    }
    return painter.end();
}

bool RenderPdfWithQt(const PaperDocument& doc, std::string& out, std::string* error)
{
    out.clear();
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setTitle(ui::ToQString(doc.title));
        writer.setCreator(QStringLiteral("TORVA"));
        // Points as the painter's units: the page descriptions are in points.
        writer.setResolution(72);
        const auto layoutOf = [](const Page& page) {
            return QPageLayout(QPageSize(QPageSize::A4),
                               page.width > page.height ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF());
        };
        const Page blank{kA4Short, kA4Long, {}, {}, {}};
        const std::vector<Page>& pages = doc.pages.empty() ? std::vector<Page>{blank} : doc.pages;
        writer.setPageLayout(layoutOf(pages.front()));
        QPainter painter;
        if (!painter.begin(&writer)) {
            if (error != nullptr)
                *error = "PDF の書き込みを始められません。";
            return false;
        }
        for (size_t i = 0; i < pages.size(); ++i) {
            if (i > 0) {
                writer.setPageLayout(layoutOf(pages[i]));
                writer.newPage();
            }
            PaintPage(painter, pages[i]);
        }
        painter.end();
    }
    const QByteArray& bytes = buffer.data();
    out.assign(bytes.constData(), static_cast<size_t>(bytes.size()));
    return true;
}

} // namespace tabry::paper
