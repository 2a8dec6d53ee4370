#include "grid/GridPalette.h"

#include <QFontDatabase>

namespace tabry::grid {

namespace {

constexpr int kFontPixelHeight = 13;

QFont MakeFont(const QStringList& candidates, int pixelHeight = kFontPixelHeight)
{
    // Without any Japanese face the system's fixed-pitch font still keeps the
    // columns aligned; the glyphs then come from Qt's font fallback.
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    const QString family = FirstInstalledFamily(candidates);
    if (!family.isEmpty())
        font.setFamilies({family});
    font.setPixelSize(pixelHeight);
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    font.setStyleHint(QFont::TypeWriter);
    return font;
}

// Points to pixels at 96 dots per inch, rounded as the dialog templates'
// fonts always were (10 points: 13 pixels, 9 points: 12).
int PointsToPixels(int points)
{
    return (points * 96 + 36) / 72;
}

} // namespace

QString FirstInstalledFamily(const QStringList& candidates)
{
    const QStringList installed = QFontDatabase::families();
    for (const QString& name : candidates) {
        if (installed.contains(name, Qt::CaseInsensitive))
            return name;
    }
    return {};
}

QStringList GridFontCandidates()
{
    return {QStringLiteral("ＭＳ ゴシック"),
            QStringLiteral("MS Gothic"),
            QStringLiteral("IPAGothic"),
            QStringLiteral("IPAゴシック"),
            QStringLiteral("Noto Sans Mono CJK JP"),
            QStringLiteral("Noto Sans CJK JP")};
}

QStringList TitleFontCandidates()
{
    return {QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"), QStringLiteral("IPAPGothic"),
            QStringLiteral("IPAPゴシック"), QStringLiteral("Noto Sans CJK JP")};
}

const QFont& GridFont()
{
    static const QFont font = MakeFont(GridFontCandidates());
    return font;
}

const QFont& TitleFont()
{
    static const QFont font = MakeFont(TitleFontCandidates());
    return font;
}

const QFont& PlayerPopupFont()
{
    static const QFont font = MakeFont(GridFontCandidates(), PointsToPixels(10));
    return font;
}

const QFont& ResultPopupFont()
{
    static const QFont font = MakeFont(TitleFontCandidates(), PointsToPixels(9));
    return font;
}

} // namespace tabry::grid
