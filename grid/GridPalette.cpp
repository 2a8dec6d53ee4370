#include "grid/GridPalette.h"

#include <QFontDatabase>

namespace tabry::grid {

namespace {

constexpr int kFontPixelHeight = 13;

QFont MakeFont(const QStringList& candidates)
{
    // Without any Japanese face the system's fixed-pitch font still keeps the
    // columns aligned; the glyphs then come from Qt's font fallback.
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    const QString family = FirstInstalledFamily(candidates);
    if (!family.isEmpty())
        font.setFamilies({family});
    font.setPixelSize(kFontPixelHeight);
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    font.setStyleHint(QFont::TypeWriter);
    return font;
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
    return {QStringLiteral("ＭＳ ゴシック"), QStringLiteral("MS Gothic"), QStringLiteral("IPAGothic"),
            QStringLiteral("IPAゴシック"), QStringLiteral("Noto Sans Mono CJK JP"), QStringLiteral("Noto Sans CJK JP")};
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

} // namespace tabry::grid
