#include "app/FileErrors.h"

#include "widgets/FileErrorText.h"

#include <QDir>

namespace tabry::app {

namespace {

QString Native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

QString FindingText(const ReadFinding& f)
{
    // Rows as the grid numbers them, from 1.
    const int row = f.row + 1;
    switch (f.kind) {
    case FindingKind::WrongFieldCount:
        return QStringLiteral("%1 行目: 項目数が %2 で、%3 ではありません。表の %4 行目は空になります。")
            .arg(f.line)
            .arg(f.fields)
            .arg(f.expected)
            .arg(row);
    case FindingKind::DetailsAmongPlayers:
        return QStringLiteral("%1 行目: プレイヤの行の間に「#」で始まる行があります。表の %2 行目は空になります。")
            .arg(f.line)
            .arg(row);
    case FindingKind::FileEndsEarly:
        return QStringLiteral("%1 行目でファイルが終わっています（表は %2 行のはず）。表の %3 行目以降は空になります。")
            .arg(f.line)
            .arg(f.expected)
            .arg(row);
    case FindingKind::LinesAfterTable:
        return QStringLiteral("%1 行目以降: 表の後ろにある %2 行は読み込まれません。").arg(f.line).arg(f.fields);
    case FindingKind::WithdrawalOfEmptyRow:
        return QStringLiteral("%1 行目: 棄権の行が空の行（表の %2 行目）を指しているため、読み込まれません。")
            .arg(f.line)
            .arg(row);
    case FindingKind::AbsenceOfEmptyRow:
        return QStringLiteral("%1 行目: 休みの行が空の行（表の %2 行目）を指しているため、読み込まれません。")
            .arg(f.line)
            .arg(row);
    case FindingKind::BadEventLine:
        return QStringLiteral("%1 行目: 「##%2:」の行が読めないか、表の外を指しています。")
            .arg(f.line)
            .arg(QString::fromLatin1(f.key.c_str()));
    }
    return {};
}

} // namespace

QString OpenFailureMessage(const QString& path, const LoadReport& report)
{
    const QString name = Native(path);
    switch (report.status) {
    case LoadStatus::Ok:
    case LoadStatus::Damaged:
        break;
    case LoadStatus::CannotOpen:
    case LoadStatus::NulByte:
        return QStringLiteral("「%1」を開けません。\n%2").arg(name, ui::FileProblemText(report.file));
    case LoadStatus::Empty:
    case LoadStatus::Rejected:
        return QStringLiteral("「%1」は大会結果ファイルとして読み込めません。").arg(name);
    case LoadStatus::BadEventLine:
        return QStringLiteral("「%1」を開けません。\n%2").arg(name, FindingsText(report.findings));
    }
    return {};
}

QString SaveFailureMessage(const QString& path, const FileError& error)
{
    return QStringLiteral("「%1」に保存できません。\n%2").arg(Native(path), ui::FileProblemText(error));
}

QString WriteFailureMessage(const QString& path, const FileError& error)
{
    return QStringLiteral("「%1」に書き込めません。\n%2").arg(Native(path), ui::FileProblemText(error));
}

QString FindingsText(const ReadFindings& findings)
{
    // A file in another layout can have a finding on every line; the first
    // ones say what is wrong, the count how much.
    constexpr qsizetype kShown = 10;
    QStringList lines;
    for (const ReadFinding& f : findings) {
        if (lines.size() == kShown) {
            lines << QStringLiteral("ほか %1 件").arg(qsizetype(findings.size()) - kShown);
            break;
        }
        lines << FindingText(f);
    }
    return lines.join(QLatin1Char('\n'));
}

QString DatabaseUnreadableMessage(const QString& path, const FileError& error)
{
    return QStringLiteral("プレイヤデータベース「%1」を読み込めません。\n%2\n"
                          "このファイルを守るため、データベースへの変更は保存されません。")
        .arg(Native(path), ui::FileProblemText(error));
}

} // namespace tabry::app
