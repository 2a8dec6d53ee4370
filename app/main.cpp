// torva: the desktop program.
//   torva [--no-association-check] [--serve ADDR:PORT] [--reports] [FILE.stg]
//   torva --version | --help | --paths      (text only: no display needed)
//   torva --screenshot DIR [FILE.stg]       (the README's and the manual's pictures; not in --help)
//   torva --write-desktop-files DIR         (the package's desktop entry, MIME type and icons; not in --help)

#include "app/BundledFonts.h"
#include "app/DatabaseLocation.h"
#include "app/DesktopFiles.h"
#include "app/ProgramLayout.h"
#include "app/Screenshots.h"
#include "app/TabryApp.h"
#include "app/Translations.h"

#include "TorvaVersion.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdio>
#include <cstring>

namespace {

// Every event of the program is dispatched here: an exception from any
// handler ends in the application's one barrier (CTabryApp::Guard), which
// keeps the journal and tells the user, instead of leaving Qt's event loop
// in an unknown state.
class CGuardedApplication : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override
    {
        tabry::app::CTabryApp* app = tabry::app::CTabryApp::Instance();
        if (app == nullptr)
            return QApplication::notify(receiver, event);
        return app->Guard([&] { return QApplication::notify(receiver, event); });
    }
};

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

void SetIdentity()
{
    QCoreApplication::setOrganizationName(QStringLiteral("qelt"));
    QCoreApplication::setApplicationName(QStringLiteral("TORVA"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TORVA_VERSION));
}

struct CommandLine {
    QCommandLineParser parser;
    QCommandLineOption noAssociation{QStringLiteral("no-association-check"),
                                     QStringLiteral("起動時に .stg の関連付けを確認しない")};
    QCommandLineOption paths{QStringLiteral("paths"),
                             QStringLiteral("使い方のページ、プレイヤデータベースと設定ファイルの場所を表示する")};
    QCommandLineOption serve{QStringLiteral("serve"),
                             QStringLiteral("ライブ公開を ADDR:PORT で始める (:PORT ですべてのアドレス)"),
                             QStringLiteral("ADDR:PORT")};
    QCommandLineOption reports{QStringLiteral("reports"),
                               QStringLiteral("対局者のスマートフォンからの結果報告を受け付ける")};
    QCommandLineOption screenshot{QStringLiteral("screenshot"),
                                  QStringLiteral("README と使い方の画面写真を DIR に書く"), QStringLiteral("DIR")};
    QCommandLineOption desktopFiles{QStringLiteral("write-desktop-files"),
                                    QStringLiteral("デスクトップエントリ・MIME タイプ・アイコンを DIR に書く"),
                                    QStringLiteral("DIR")};

    CommandLine()
    {
        parser.setApplicationDescription(QStringLiteral("TORVA: オセロ大会の成績集計"));
        parser.addHelpOption();
        parser.addVersionOption();
        parser.addOption(noAssociation);
        parser.addOption(paths);
        parser.addOption(serve);
        parser.addOption(reports);
        screenshot.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(screenshot);
        desktopFiles.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(desktopFiles);
        parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("開く大会結果ファイル (*.stg)"),
                                     QStringLiteral("[FILE.stg]"));
    }
};

// Requests answered with text alone, without a window system, so that they
// work in a terminal without a display, over ssh and in the package's test.
bool WantsTextOnly(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        const char* a = argv[i];
        if (std::strcmp(a, "--") == 0)
            break;
        for (const char* name : {"-h", "--help", "--help-all", "-v", "--version", "--paths", "--write-desktop-files"}) {
            if (std::strcmp(a, name) == 0)
                return true;
        }
    }
    return false;
}

void PrintLine(const char* label, const QString& path)
{
    std::printf("%s: %s\n", label, QDir::toNativeSeparators(path).toLocal8Bit().constData());
}

int RunTextOnly(int argc, char** argv)
{
    QCoreApplication core(argc, argv);
    SetIdentity();
    CommandLine cl;
    cl.parser.process(core); // --help and --version print and end the program here

    if (cl.parser.isSet(cl.desktopFiles)) {
        QString error;
        if (!tabry::app::WriteDesktopFiles(cl.parser.value(cl.desktopFiles), &error)) {
            std::fprintf(stderr, "%s\n", error.toLocal8Bit().constData());
            return 1;
        }
        return 0;
    }

    // What CTabryApp would use, found the same way.
    const QString exeDir = QCoreApplication::applicationDirPath();
    const tabry::app::ProgramLayout layout = tabry::app::DetectProgramLayout(exeDir);
    const tabry::app::DatabasePaths db = tabry::app::ResolveDatabasePaths(
        exeDir, QStandardPaths::writableLocation(QStandardPaths::AppDataLocation), QFileInfo(exeDir).isWritable());
    const QString manual = tabry::app::ManualFrontPage(layout);
    PrintLine("layout", layout.installed ? QStringLiteral("installed") : QStringLiteral("program folder"));
    PrintLine("manual", manual.isEmpty() ? QStringLiteral("(none)") : manual);
    PrintLine("player.db (read)", db.load);
    PrintLine("player.db (write)", db.save);
    PrintLine("settings",
              QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("qelt"), QStringLiteral("TORVA"))
                  .fileName());
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (WantsTextOnly(argc, argv))
        return RunTextOnly(argc, argv);

    PreferX11UnderWayland();
    CGuardedApplication qapp(argc, argv);
    SetIdentity();
    tabry::app::InstallJapaneseTranslations(qapp);
    tabry::app::AddBundledFonts(QCoreApplication::applicationDirPath() + QStringLiteral("/fonts"));

    CommandLine cl;
    cl.parser.process(qapp);

    tabry::app::AppOptions options;
    options.checkAssociation = !cl.parser.isSet(cl.noAssociation);
    if (!cl.parser.positionalArguments().isEmpty())
        options.fileToOpen = cl.parser.positionalArguments().first();
    options.serve = cl.parser.value(cl.serve);
    options.reports = cl.parser.isSet(cl.reports);

    if (cl.parser.isSet(cl.screenshot)) {
        // A run that leaves nothing behind and shows the same on every
        // machine: its program folder, settings and user folder are
        // temporary (so the database holds only the players the tournament
        // brings), and the exit step (which writes them) is skipped.
        QTemporaryDir scratch;
        options.executablePath = scratch.filePath(QStringLiteral("program/torva"));
        options.settingsFile = scratch.filePath(QStringLiteral("settings.ini"));
        options.userDataDirectory = scratch.filePath(QStringLiteral("user"));
        options.checkAssociation = false;
        tabry::app::CTabryApp app(options);
        if (!app.InitInstance())
            return 1;
        QString error;
        if (!tabry::app::WriteScreenshots(app, cl.parser.value(cl.screenshot), &error)) {
            std::fprintf(stderr, "%s\n", error.toLocal8Bit().constData());
            return 1;
        }
        return 0;
    }

    tabry::app::CTabryApp app(options);
    if (!app.Guard([&] { return app.InitInstance(); }))
        return 1;
    const int result = QApplication::exec();
    const int exitResult = app.ExitInstance();
    return result != 0 ? result : exitResult;
}
