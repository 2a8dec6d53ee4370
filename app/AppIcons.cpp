#include "app/AppIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <functional>

namespace tabry::app {

namespace {

const QColor kBoard(0, 128, 64);
const QColor kInk(40, 40, 40);
const QColor kPaper(250, 250, 250);

// A board with four discs in the opening position, filling `r`.
void DrawBoard(QPainter& p, const QRectF& r)
{
    p.setPen(Qt::NoPen);
    p.setBrush(kBoard);
    p.drawRoundedRect(r, r.width() * 0.08, r.width() * 0.08);
    const qreal cell = r.width() / 2.0;
    const qreal d = cell * 0.72;
    const QPointF c = r.center();
    const QPointF offsets[4] = {
        {-cell / 2, -cell / 2}, {cell / 2, cell / 2}, {cell / 2, -cell / 2}, {-cell / 2, cell / 2}};
    for (int i = 0; i < 4; ++i) {
        p.setBrush(i < 2 ? QColor(Qt::white) : QColor(Qt::black));
        p.drawEllipse(c + offsets[i], d / 2, d / 2);
    }
}

// A sheet of paper with a folded corner, filling `r`.
void DrawPage(QPainter& p, const QRectF& r)
{
    const qreal fold = r.width() * 0.3;
    QPainterPath page;
    page.moveTo(r.left(), r.top());
    page.lineTo(r.right() - fold, r.top());
    page.lineTo(r.right(), r.top() + fold);
    page.lineTo(r.right(), r.bottom());
    page.lineTo(r.left(), r.bottom());
    page.closeSubpath();
    p.setPen(QPen(kInk, r.width() / 16.0));
    p.setBrush(kPaper);
    p.drawPath(page);
}

QImage Render(int size, const std::function<void(QPainter&, const QRectF&)>& draw)
{
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p, QRectF(0, 0, size, size));
    return img;
}

QIcon IconOf(const std::function<void(QPainter&, const QRectF&)>& draw)
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64})
        icon.addPixmap(QPixmap::fromImage(Render(size, draw)));
    return icon;
}

// A page with a short label on it (the report formats).
void DrawLabelledPage(QPainter& p, const QRectF& r, const QString& label, const QColor& colour)
{
    DrawPage(p, r.adjusted(r.width() * 0.12, r.height() * 0.02, -r.width() * 0.12, -r.height() * 0.02));
    QFont f;
    f.setPixelSize(qMax(6, int(r.height() * 0.42)));
    f.setBold(true);
    p.setFont(f);
    p.setPen(colour);
    p.drawText(r.adjusted(0, r.height() * 0.25, 0, 0), Qt::AlignCenter, label);
}

// A curved arrow turning back (undo) or, mirrored, forward (redo).
void DrawTurnArrow(QPainter& p, const QRectF& r, bool forward)
{
    p.save();
    if (forward) {
        p.translate(r.center().x() * 2, 0);
        p.scale(-1, 1);
    }
    const QColor colour(30, 90, 170);
    p.setPen(QPen(colour, r.width() / 9.0, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    const QRectF arc(r.left() + r.width() * 0.25, r.top() + r.height() * 0.25, r.width() * 0.6, r.height() * 0.55);
    p.drawArc(arc, 90 * 16, -200 * 16);
    const QPointF tip(arc.center().x(), arc.top());
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    const QPointF head[] = {tip + QPointF(-r.width() * 0.22, 0), tip + QPointF(0, -r.height() * 0.18),
                            tip + QPointF(0, r.height() * 0.18)};
    p.drawPolygon(head, 3);
    p.restore();
}

} // namespace

QImage AppIconImage(int size)
{
    return Render(size, [](QPainter& p, const QRectF& r) { DrawBoard(p, r.adjusted(1, 1, -1, -1)); });
}

QImage DocumentIconImage(int size)
{
    return Render(size, [](QPainter& p, const QRectF& r) {
        DrawPage(p, r.adjusted(r.width() * 0.1, 1, -r.width() * 0.1, -1));
        DrawBoard(p,
                  QRectF(r.left() + r.width() * 0.25, r.top() + r.height() * 0.4, r.width() * 0.5, r.height() * 0.5));
    });
}

QIcon AppIcon()
{
    return IconOf([](QPainter& p, const QRectF& r) { DrawBoard(p, r.adjusted(1, 1, -1, -1)); });
}

QIcon DocumentIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64})
        icon.addPixmap(QPixmap::fromImage(DocumentIconImage(size)));
    return icon;
}

QIcon ToolBarIcon(ToolIcon which)
{
    switch (which) {
    case ToolIcon::New:
        return IconOf([](QPainter& p, const QRectF& r) { DrawPage(p, r.adjusted(3, 1, -3, -1)); });
    case ToolIcon::Open:
        return IconOf([](QPainter& p, const QRectF& r) {
            p.setPen(QPen(kInk, r.width() / 16.0));
            p.setBrush(QColor(230, 190, 80));
            p.drawRect(r.adjusted(1, r.height() * 0.3, -1, -r.height() * 0.1));
            p.drawRect(QRectF(r.left() + 1, r.top() + r.height() * 0.2, r.width() * 0.4, r.height() * 0.1));
        });
    case ToolIcon::Save:
        return IconOf([](QPainter& p, const QRectF& r) {
            const QRectF body = r.adjusted(1, 1, -1, -1);
            p.setPen(QPen(kInk, r.width() / 16.0));
            p.setBrush(QColor(60, 90, 160));
            p.drawRect(body);
            p.setBrush(kPaper);
            p.drawRect(QRectF(body.left() + body.width() * 0.2, body.top(), body.width() * 0.6, body.height() * 0.35));
            p.drawRect(QRectF(body.left() + body.width() * 0.15, body.top() + body.height() * 0.55, body.width() * 0.7,
                              body.height() * 0.45));
        });
    case ToolIcon::TextReport:
        return IconOf([](QPainter& p, const QRectF& r) { DrawLabelledPage(p, r, QStringLiteral("T"), kInk); });
    case ToolIcon::CsvReport:
        return IconOf(
            [](QPainter& p, const QRectF& r) { DrawLabelledPage(p, r, QStringLiteral("C"), QColor(0, 110, 0)); });
    case ToolIcon::HtmlReport:
        return IconOf(
            [](QPainter& p, const QRectF& r) { DrawLabelledPage(p, r, QStringLiteral("H"), QColor(0, 70, 170)); });
    case ToolIcon::DeleteCell:
        return IconOf([](QPainter& p, const QRectF& r) {
            p.setPen(QPen(QColor(190, 30, 30), r.width() / 7.0, Qt::SolidLine, Qt::RoundCap));
            const QRectF x = r.adjusted(r.width() * 0.22, r.height() * 0.22, -r.width() * 0.22, -r.height() * 0.22);
            p.drawLine(x.topLeft(), x.bottomRight());
            p.drawLine(x.topRight(), x.bottomLeft());
        });
    case ToolIcon::Sort:
        return IconOf([](QPainter& p, const QRectF& r) {
            p.setPen(QPen(kInk, r.width() / 10.0, Qt::SolidLine, Qt::RoundCap));
            for (int i = 0; i < 4; ++i) {
                const qreal y = r.top() + r.height() * (0.2 + 0.2 * i);
                p.drawLine(QPointF(r.left() + r.width() * 0.1, y), QPointF(r.left() + r.width() * (0.6 - 0.1 * i), y));
            }
            p.setPen(QPen(QColor(0, 110, 0), r.width() / 10.0, Qt::SolidLine, Qt::RoundCap));
            const qreal x = r.left() + r.width() * 0.8;
            p.drawLine(QPointF(x, r.top() + r.height() * 0.15), QPointF(x, r.bottom() - r.height() * 0.15));
            p.drawLine(QPointF(x, r.bottom() - r.height() * 0.15),
                       QPointF(x - r.width() * 0.12, r.bottom() - r.height() * 0.3));
            p.drawLine(QPointF(x, r.bottom() - r.height() * 0.15),
                       QPointF(x + r.width() * 0.12, r.bottom() - r.height() * 0.3));
        });
    case ToolIcon::Undo:
        return IconOf([](QPainter& p, const QRectF& r) { DrawTurnArrow(p, r, false); });
    case ToolIcon::Redo:
        return IconOf([](QPainter& p, const QRectF& r) { DrawTurnArrow(p, r, true); });
    case ToolIcon::About:
        return IconOf([](QPainter& p, const QRectF& r) {
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(60, 90, 160));
            p.drawEllipse(r.adjusted(1, 1, -1, -1));
            QFont f;
            f.setPixelSize(qMax(6, int(r.height() * 0.7)));
            f.setBold(true);
            p.setFont(f);
            p.setPen(Qt::white);
            p.drawText(r, Qt::AlignCenter, QStringLiteral("?"));
        });
    }
    return {};
}

} // namespace tabry::app
