// torva: the desktop program.
//   torva [--no-association-check] [FILE.stg]

#include "app/TabryApp.h"
#include "app/Translations.h"

#include <QApplication>
#include <QCommandLineParser>

int main(int argc, char** argv)
{
    QApplication qapp(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("qelt"));
    QApplication::setApplicationName(QStringLiteral("TORVA"));
    QApplication::setApplicationVersion(QStringLiteral("0.92"));
    tabry::app::InstallJapaneseTranslations(qapp);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("TORVA: オセロ大会の成績集計"));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption noAssociation(QStringLiteral("no-association-check"),
                                           QStringLiteral("起動時に .stg の関連付けを確認しない"));
    parser.addOption(noAssociation);
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("開く大会結果ファイル (*.stg)"),
                                 QStringLiteral("[FILE.stg]"));
    parser.process(qapp);

    tabry::app::AppOptions options;
    options.checkAssociation = !parser.isSet(noAssociation);
    if (!parser.positionalArguments().isEmpty())
        options.fileToOpen = parser.positionalArguments().first();

    tabry::app::CTabryApp app(options);
    if (!app.InitInstance())
        return 1;
    const int result = QApplication::exec();
    const int exitResult = app.ExitInstance();
    return result != 0 ? result : exitResult;
}
