#pragma once
// The application object: owns the one tournament (table, settings, details,
// player database) for the whole run, the document, the main window and the
// program's settings, and carries out start-up and the exit step.

#include "app/AppSettings.h"
#include "app/DatabaseLocation.h"
#include "edit/RecoveryJournal.h"
#include "edit/TournamentEditor.h"
#include "pairing/RandomGenerator.h"

#include <QObject>
#include <QUrl>

#include <functional>
#include <memory>

namespace tabry::grid {
class CTabryView;
}

namespace tabry::app {

class CEditHistory;
class CMainFrame;
class CTabryDoc;
class IReportRenderer;

struct AppOptions {
    QString executablePath;        // empty: the running program
    QString settingsFile;          // empty: the user's settings of the program
    QString userDataDirectory;     // empty: the per-user application data folder (also holds "recovery")
    QString associationDataHome;   // empty: the user's data folder
    QString associationConfigHome; // empty: the user's configuration folder
    bool checkAssociation = true;  // false: --no-association-check
    QString fileToOpen;            // empty: a new tournament
    // --serve ADDR:PORT: the live pages start with the tournament ("" no
    // server; ":PORT" every address of the machine).
    QString serve;
    bool reports = false; // --reports: the players may report results from their phones
};

class CTabryApp : public QObject {
    Q_OBJECT

public:
    explicit CTabryApp(AppOptions options, QObject* parent = nullptr);
    ~CTabryApp() override;

    // The one application object of the run (nullptr before and after it).
    static CTabryApp* Instance();

    // Settings, executable path, player database, random seed, document and
    // main window, the tournament (new or the named file), the window shown,
    // the file association question. False when the named file cannot be
    // opened: the program then ends.
    bool InitInstance();
    // After the main window is gone: "player.db" is written when it changed
    // (a failure is reported) and the settings are stored. Returns 0, or 1
    // when the database could not be written.
    int ExitInstance();

    // The tournament, read-only: every change goes through Editor().
    const TournamentData& Data() const { return m_editor.Data(); }
    CTournamentEditor& Editor() { return m_editor; }
    CEditHistory& History() { return *m_history; }
    CTabryDoc& Document() { return *m_doc; }
    // The folder of the crash journal's recovery files.
    QString RecoveryDirectory() const { return m_recoveryDir; }
    // Why the last journal write failed, empty when it did not.
    QString JournalError() const;
    CMainFrame* MainFrame() const { return m_frame.get(); }
    grid::CTabryView* View() const;
    CAppSettings& Settings() { return *m_settings; }

    QString ExecutablePath() const { return m_exePath; }
    QString ExecutableDirectory() const { return m_exeDir; }
    const DatabasePaths& Database() const { return m_dbPaths; }
    // The pairing's random generator, seeded once from the clock at start-up.
    CRandomGenerator& Random() { return m_random; }
    std::uint32_t RandomSeed() const { return m_seed; }

    // The output commands' renderer (tests replace it).
    IReportRenderer& Renderer() const { return *m_renderer; }
    void SetRenderer(IReportRenderer* renderer);

    // Opens a web page in the user's browser; failures are ignored.
    void OpenWebPage(const QString& url);
    void SetWebOpener(std::function<void(const QUrl&)> opener) { m_webOpener = std::move(opener); }

    // The file association this run checks and registers.
    bool IsFileTypeRegistered() const;
    bool RegisterFileType() const;

    // "順位でソート(&S)": standings order by the current method, totals
    // recomputed first.
    void SortTable();

    // The one exception barrier of the program (the event loop's dispatch
    // and start-up run through it): runs `work`; anything it throws ends
    // the program through Fatal. Returns what `work` returned, false after
    // an exception.
    bool Guard(const std::function<bool()>& work);
    // Writes the journal, tells the user that the program ends and why,
    // and ends it (exit code kFatalExitCode) without the clean exit's
    // steps, which would remove the journal.
    void Fatal(const char* what);
    static constexpr int kFatalExitCode = 70;
    // How Fatal ends the program (tests record it instead).
    void SetFatalExit(std::function<void(int)> exit) { m_fatalExit = std::move(exit); }

signals:
    // The crash journal was written (or failed to be: see JournalError).
    void journalWritten();

private:
    void SeedRandomGenerator();
    void AskAboutAssociation();
    // What --serve and --reports ask for.
    void StartServing();

    AppOptions m_options;
    CTournamentEditor m_editor;
    CEditHistory* m_history = nullptr;
    QString m_recoveryDir;
    std::unique_ptr<CRecoveryJournal> m_journal;
    std::unique_ptr<CJournalKeeper> m_keeper;
    std::unique_ptr<CAppSettings> m_settings;
    QString m_exePath;
    QString m_exeDir;
    DatabasePaths m_dbPaths;
    CRandomGenerator m_random;
    std::uint32_t m_seed = 0;
    CTabryDoc* m_doc = nullptr;
    std::unique_ptr<CMainFrame> m_frame;
    IReportRenderer* m_renderer = nullptr;
    std::function<void(const QUrl&)> m_webOpener;
    std::function<void(int)> m_fatalExit;
};

} // namespace tabry::app
