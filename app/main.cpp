// torva: the desktop program.
//   torva [--no-association-check] [FILE.stg]
//   torva --screenshot DIR [FILE.stg]   (the README's pictures; not in --help)

#include "app/Screenshots.h"
#include "app/TabryApp.h"
#include "app/Translations.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTemporaryDir>

#include <cstdio>

namespace {

// The cell editors open as small windows placed exactly over their cell. A
// Wayland compositor places top-level windows itself, so in a Wayland
// session that also offers an X server the program runs through X, unless
// the user chose a platform.
void PreferX11UnderWayland()
{
#if defined(Q_OS_LINUX)
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
#endif
}

} // namespace

int main(int argc, char** argv)
{
    PreferX11UnderWayland();
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
    QCommandLineOption screenshot(QStringLiteral("screenshot"), QStringLiteral("README の画面写真を DIR に書く"),
                                  QStringLiteral("DIR"));
    screenshot.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(screenshot);
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("開く大会結果ファイル (*.stg)"),
                                 QStringLiteral("[FILE.stg]"));
    parser.process(qapp);

    tabry::app::AppOptions options;
    options.checkAssociation = !parser.isSet(noAssociation);
    if (!parser.positionalArguments().isEmpty())
        options.fileToOpen = parser.positionalArguments().first();

    if (parser.isSet(screenshot)) {
        // A run that leaves nothing behind: its settings and user folder are
        // temporary, and the exit step (which writes them and the player
        // database) is skipped.
        QTemporaryDir scratch;
        options.settingsFile = scratch.filePath(QStringLiteral("settings.ini"));
        options.userDataDirectory = scratch.filePath(QStringLiteral("user"));
        options.checkAssociation = false;
        tabry::app::CTabryApp app(options);
        if (!app.InitInstance())
            return 1;
        QString error;
        if (!tabry::app::WriteScreenshots(app, parser.value(screenshot), &error)) {
            std::fprintf(stderr, "%s\n", error.toLocal8Bit().constData());
            return 1;
        }
        return 0;
    }

    tabry::app::CTabryApp app(options);
    if (!app.InitInstance())
        return 1;
    const int result = QApplication::exec();
    const int exitResult = app.ExitInstance();
    return result != 0 ? result : exitResult;
}
