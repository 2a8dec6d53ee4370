#include "app/ReportCommand.h"

#include "app/FileErrors.h"
#include "core/TournamentData.h"
#include "text/FileIo.h"
#include "widgets/PathText.h"
#include "widgets/Prompt.h"
#include "widgets/TextCodec.h"

#include <QDir>
#include <QMainWindow>
#include <QRegularExpression>
#include <QStatusBar>
#include <QStringList>

namespace tabry::app {

QString QtFilterFromPipe(const QString& pipe)
{
    const QStringList parts = pipe.split('|', Qt::SkipEmptyParts);
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString name = parts[i].trimmed();
        const QString patterns =
            QString(parts[i + 1]).replace(';', ' ').replace(QStringLiteral("*.*"), QStringLiteral("*"));
        // Qt takes the patterns from the parentheses of the name.
        static const QRegularExpression inParens(QStringLiteral("\\([^()]*\\)\\s*$"));
        if (name.contains(inParens))
            name.replace(inParens, '(' + patterns + ')');
        else
            name += QStringLiteral(" (") + patterns + ')';
        filters << name;
    }
    return filters.join(QStringLiteral(";;"));
}

QString DefaultReportName(IReportRenderer& renderer, const QString& title)
{
    // A title with characters Shift_JIS cannot hold must not lose them on the
    // way through the byte-string rule; the rule is simple enough to apply
    // here directly then.
    if (ui::IsSjisEncodable(title))
        return ui::ToQString(renderer.DefaultFileName(ui::ToSjis(title)));
    return title.endsWith(QStringLiteral(".stg")) ? title.left(title.size() - 4) : title;
}

bool RunReportCommand(QWidget* parent, IReportRenderer& renderer, OutputKind kind, const TournamentData& data,
                      const QString& documentTitle, const QString& directory, int round, const OutputOptions& options)
{
    std::string bytes;
    std::string message;
    if (renderer.Render(kind, data, round, options, bytes, &message) != OutputStatus::Ok) {
        ui::Prompt().Error(parent, ui::ToQString(message));
        return false;
    }
    const OutputKindInfo& info = OutputKindOf(kind);
    const QString extension = QString::fromUtf8(info.extension.data(), static_cast<qsizetype>(info.extension.size()));
    QString proposed =
        DefaultReportName(renderer, documentTitle) + ui::ToQString(ProposedNameSuffix(kind, round)) + '.' + extension;
    if (!directory.isEmpty())
        proposed = QDir(directory).filePath(proposed);
    // Shown to the user: in Windows' own form there (C:\Users\...).
    const QString path = ui::Prompt().SaveFileName(
        parent, QStringLiteral("名前を付けて保存"), QDir::toNativeSeparators(proposed),
        QtFilterFromPipe(QString::fromUtf8(info.filter.data(), static_cast<qsizetype>(info.filter.size()))), extension);
    if (path.isEmpty())
        return false;
    FileError error;
    if (!WriteFileAtomically(ui::ToFsPath(path), bytes, &error)) {
        ui::Prompt().Error(parent, WriteFailureMessage(path, error));
        return false;
    }
    if (auto* frame = qobject_cast<QMainWindow*>(parent != nullptr ? parent->window() : nullptr))
        frame->statusBar()->showMessage(QStringLiteral("「%1」に保存しました").arg(QDir::toNativeSeparators(path)),
                                        kWrittenMessageMs);
    return true;
}

int ProposedPairingRound(const TournamentData& data)
{
    for (int round = data.table.RoundCount() - 1; round >= 0; --round) {
        if (data.table.RoundHasGames(round))
            return round + 1;
    }
    return 1;
}

} // namespace tabry::app
