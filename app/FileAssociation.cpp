#include "app/FileAssociation.h"

#include "app/AppIcons.h"
#include "app/PngFile.h"
#include "text/FileIo.h"
#include "widgets/PathText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>

namespace tabry::app {

namespace {
// Named by DesktopEntryPath on every system, used only on Linux.
const QString kDesktopFile = QStringLiteral("torva.desktop");
} // namespace

#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
namespace {

const QString kMimeType = QStringLiteral("application/x-torva-stg");
const QString kDocIconName = QStringLiteral("application-x-torva-stg");
const QString kAppIconName = QStringLiteral("torva");

bool WriteUtf8(const QString& path, const QString& text)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    const QByteArray bytes = text.toUtf8();
    return WriteFileAtomically(ui::ToFsPath(path), std::string_view(bytes.constData(), size_t(bytes.size())));
}

QString ReadUtf8(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll());
}

// Sets "type=entry;" in the [Default Applications] group of a mimeapps.list
// text, keeping every other line as it was.
QString WithDefaultApplication(const QString& text, const QString& type, const QString& entry)
{
    QStringList lines = text.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    const QString group = QStringLiteral("[Default Applications]");
    const QString line = type + '=' + entry + ';';
    int groupAt = -1;
    for (int i = 0; i < lines.size(); ++i) {
        if (lines[i].trimmed() == group) {
            groupAt = i;
            break;
        }
    }
    if (groupAt < 0) {
        if (!lines.isEmpty() && !lines.last().trimmed().isEmpty())
            lines << QString();
        lines << group << line;
        return lines.join('\n') + '\n';
    }
    int end = groupAt + 1;
    while (end < lines.size() && !lines[end].trimmed().startsWith('['))
        ++end;
    for (int i = groupAt + 1; i < end; ++i) {
        if (lines[i].trimmed().startsWith(type + '=')) {
            lines[i] = line;
            return lines.join('\n') + '\n';
        }
    }
    lines.insert(groupAt + 1, line);
    return lines.join('\n') + '\n';
}

void RunIfPresent(const QString& program, const QStringList& arguments)
{
    // Refreshes the desktop's caches; the files written are what counts, so
    // a missing tool or a failure changes nothing.
    const QString path = QStandardPaths::findExecutable(program);
    if (!path.isEmpty())
        QProcess::startDetached(path, arguments);
}

} // namespace
#endif

CFileAssociation::CFileAssociation(QString executablePath, QString dataHome, QString configHome,
                                   QStringList systemDataDirs)
    : m_exe(std::move(executablePath)), m_dataHome(std::move(dataHome)), m_configHome(std::move(configHome)),
      m_systemDataDirs(std::move(systemDataDirs))
{
    if (m_dataHome.isEmpty())
        m_dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (m_configHome.isEmpty())
        m_configHome = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (m_systemDataDirs.isEmpty()) {
        const QString dirs = qEnvironmentVariable("XDG_DATA_DIRS");
        m_systemDataDirs =
            (dirs.isEmpty() ? QStringLiteral("/usr/local/share:/usr/share") : dirs).split(':', Qt::SkipEmptyParts);
    }
}

QString CFileAssociation::MimePackageXml()
{
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                          "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                          "  <mime-type type=\"application/x-torva-stg\">\n"
                          "    <comment>TORVA tournament results</comment>\n"
                          "    <comment xml:lang=\"ja\">大会結果ファイル</comment>\n"
                          "    <icon name=\"application-x-torva-stg\"/>\n"
                          "    <glob pattern=\"*.stg\"/>\n"
                          "  </mime-type>\n"
                          "</mime-info>\n");
}

QString CFileAssociation::DesktopEntryText(const QString& execValue)
{
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=TORVA\n"
                          "Comment=Othello tournament results\n"
                          "Comment[ja]=オセロ大会の成績集計\n"
                          "Exec=%1\n"
                          "Icon=torva\n"
                          "MimeType=application/x-torva-stg;\n"
                          "Terminal=false\n"
                          "Categories=Office;\n")
        .arg(execValue);
}

QString CFileAssociation::MimePackagePath() const
{
    return m_dataHome + QStringLiteral("/mime/packages/torva-stg.xml");
}

QString CFileAssociation::DesktopEntryPath() const
{
    return m_dataHome + QStringLiteral("/applications/") + kDesktopFile;
}

QString CFileAssociation::MimeAppsPath() const
{
    return m_configHome + QStringLiteral("/mimeapps.list");
}

QString CFileAssociation::DesktopExecValue(const QString& executablePath)
{
    // Inside double quotes the characters " ` $ \ are escaped with a
    // backslash, and the desktop file's own string rules double every
    // backslash once more.
    QString quoted;
    for (QChar c : executablePath) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            quoted += '\\';
        quoted += c;
    }
    quoted.replace('\\', QStringLiteral("\\\\"));
    return '"' + quoted + QStringLiteral("\" %f");
}

#if defined(Q_OS_WIN)

bool CFileAssociation::IsFileTypeRegistered() const
{
    const QSettings classes(QStringLiteral("HKEY_CLASSES_ROOT"), QSettings::NativeFormat);
    const QString command = classes.value(QStringLiteral("TORVAfile/shell/open/command/Default")).toString();
    return !command.isEmpty() && command.contains(QDir::toNativeSeparators(m_exe));
}

bool CFileAssociation::RegisterFileType() const
{
    QSettings classes(QStringLiteral("HKEY_CURRENT_USER\\Software\\Classes"), QSettings::NativeFormat);
    const QString exe = QDir::toNativeSeparators(m_exe);
    classes.setValue(QStringLiteral("TORVAfile/shell/open/command/Default"), '"' + exe + QStringLiteral("\" \"%1\""));
    classes.setValue(QStringLiteral("TORVAfile/DefaultIcon/Default"), '"' + exe + QStringLiteral("\",1"));
    classes.setValue(QStringLiteral(".stg/Default"), QStringLiteral("TORVAfile"));
    classes.sync();
    return classes.status() == QSettings::NoError;
}

#elif defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)

bool CFileAssociation::SystemEntryStartsThisProgram() const
{
    const QString self = QFileInfo(m_exe).canonicalFilePath();
    if (self.isEmpty())
        return false;
    for (const QString& dir : m_systemDataDirs) {
        if (!QFileInfo::exists(dir + QStringLiteral("/mime/packages/torva-stg.xml")))
            continue;
        const QString entry = ReadUtf8(dir + QStringLiteral("/applications/") + kDesktopFile);
        for (const QString& line : entry.split('\n')) {
            if (!line.startsWith(QStringLiteral("Exec=")))
                continue;
            QString program = line.mid(5).section(' ', 0, 0);
            if (program.size() >= 2 && program.startsWith('"') && program.endsWith('"'))
                program = program.mid(1, program.size() - 2);
            const QString found = QFileInfo(program).isAbsolute() ? program : QStandardPaths::findExecutable(program);
            if (!found.isEmpty() && QFileInfo(found).canonicalFilePath() == self)
                return true;
        }
    }
    return false;
}

bool CFileAssociation::IsFileTypeRegistered() const
{
    if (SystemEntryStartsThisProgram())
        return true;
    if (!QFileInfo::exists(MimePackagePath()))
        return false;
    const QString entry = ReadUtf8(DesktopEntryPath());
    bool execOk = false;
    for (const QString& line : entry.split('\n')) {
        if (line.startsWith(QStringLiteral("Exec=")) && line.contains(DesktopExecValue(m_exe)))
            execOk = true;
    }
    if (!execOk)
        return false;
    const QString apps = ReadUtf8(MimeAppsPath());
    return apps.contains(kMimeType + '=' + kDesktopFile);
}

bool CFileAssociation::RegisterFileType() const
{
    if (!WriteUtf8(MimePackagePath(), MimePackageXml()))
        return false;
    if (!WriteUtf8(DesktopEntryPath(), DesktopEntryText(DesktopExecValue(m_exe))))
        return false;

    if (!WriteUtf8(MimeAppsPath(), WithDefaultApplication(ReadUtf8(MimeAppsPath()), kMimeType, kDesktopFile)))
        return false;

    const QString icons = m_dataHome + QStringLiteral("/icons/hicolor/48x48/");
    if (!WritePngFile(icons + QStringLiteral("apps/") + kAppIconName + QStringLiteral(".png"), AppIconImage(48))
        || !WritePngFile(icons + QStringLiteral("mimetypes/") + kDocIconName + QStringLiteral(".png"),
                         DocumentIconImage(48)))
        return false;

    RunIfPresent(QStringLiteral("update-mime-database"), {m_dataHome + QStringLiteral("/mime")});
    RunIfPresent(QStringLiteral("update-desktop-database"), {m_dataHome + QStringLiteral("/applications")});
    return true;
}

#else

bool CFileAssociation::IsFileTypeRegistered() const
{
    return true;
}

bool CFileAssociation::RegisterFileType() const
{
    return true;
}

#endif

} // namespace tabry::app
