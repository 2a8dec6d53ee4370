#include "app/TabryDoc.h"

#include "app/FileErrors.h"
#include "widgets/PathText.h"
#include "widgets/Prompt.h"
#include "core/TournamentData.h"

#include <QDir>
#include <QFileInfo>

namespace tabry::app {

namespace {

const QString kFilter = QStringLiteral("大会結果ファイル (*.stg)");
const QString kOpenFilter = QStringLiteral("大会結果ファイル (*.stg);;すべてのファイル (*)");

QString Native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

CTabryDoc::CTabryDoc(TournamentData& data, QObject* parent) : QObject(parent), m_data(data), m_title(UntitledTitle())
{
}

QString CTabryDoc::UntitledTitle()
{
    return QStringLiteral("無題");
}

void CTabryDoc::SetModifiedFlag(bool modified)
{
    if (m_modified == modified)
        return;
    m_modified = modified;
    emit modifiedChanged(modified);
}

QString CTabryDoc::DefaultDirectory() const
{
    if (!m_path.isEmpty())
        return QFileInfo(m_path).absolutePath();
    return m_directory;
}

void CTabryDoc::SetPathName(const QString& path)
{
    m_path = path.isEmpty() ? QString() : QFileInfo(path).absoluteFilePath();
    m_title = m_path.isEmpty() ? UntitledTitle() : QFileInfo(m_path).fileName();
    if (!m_path.isEmpty())
        m_directory = QFileInfo(m_path).absolutePath();
    emit titleChanged();
}

void CTabryDoc::OnNewDocument()
{
    m_data.NewTournament();
    SetPathName({});
    SetModifiedFlag(false);
    emit documentReset();
}

bool CTabryDoc::OnOpenDocument(const QString& path)
{
    int faultLine = 0;
    const LoadStatus status = m_data.LoadFile(ui::ToFsPath(path), nullptr, &faultLine);
    switch (status) {
    case LoadStatus::Ok:
        SetPathName(path);
        SetModifiedFlag(false);
        emit documentReset();
        emit fileUsed(m_path);
        return true;
    case LoadStatus::CannotOpen:
        ui::Prompt().Error(m_dialogParent,
                           QStringLiteral("「%1」を開けません。\n%2").arg(Native(path), ReadFailureDetail(path)));
        break;
    case LoadStatus::Empty:
    case LoadStatus::Rejected:
        ui::Prompt().Error(m_dialogParent,
                           QStringLiteral("「%1」は大会結果ファイルとして読み込めません。").arg(Native(path)));
        break;
    case LoadStatus::NulByte:
        ui::Prompt().Error(m_dialogParent,
                           QStringLiteral("「%1」を開けません。\n%2").arg(Native(path), NulByteDetail(faultLine)));
        break;
    }
    emit openFailed(path);
    return false;
}

bool CTabryDoc::OnSaveDocument(const QString& path)
{
    if (!m_data.SaveFile(ui::ToFsPath(path))) {
        ui::Prompt().Error(m_dialogParent,
                           QStringLiteral("「%1」に保存できません。\n%2").arg(Native(path), WriteFailureDetail(path)));
        return false;
    }
    SetPathName(path);
    SetModifiedFlag(false);
    emit fileUsed(m_path);
    return true;
}

bool CTabryDoc::FileNew()
{
    if (!SaveModified())
        return false;
    OnNewDocument();
    return true;
}

bool CTabryDoc::FileOpen()
{
    const QString path = ui::Prompt().OpenFileName(m_dialogParent, QStringLiteral("開く"), DefaultDirectory(), kOpenFilter);
    if (path.isEmpty())
        return false;
    m_directory = QFileInfo(path).absolutePath();
    return OpenDocumentFile(path);
}

bool CTabryDoc::OpenDocumentFile(const QString& path)
{
    if (!SaveModified())
        return false;
    return OnOpenDocument(path);
}

bool CTabryDoc::FileSave()
{
    if (m_path.isEmpty())
        return FileSaveAs();
    return OnSaveDocument(m_path);
}

bool CTabryDoc::FileSaveAs()
{
    const QString proposed = m_path.isEmpty()
        ? QDir(DefaultDirectory()).filePath(m_title + QStringLiteral(".stg"))
        : m_path;
    const QString path =
        ui::Prompt().SaveFileName(m_dialogParent, QStringLiteral("名前を付けて保存"), proposed, kFilter, QStringLiteral("stg"));
    if (path.isEmpty())
        return false;
    return OnSaveDocument(path);
}

bool CTabryDoc::SaveModified()
{
    if (!m_modified)
        return true;
    const QString name = m_path.isEmpty() ? m_title : Native(m_path);
    switch (ui::Prompt().AskYesNoCancel(m_dialogParent, QStringLiteral("TORVA"),
                                        QStringLiteral("%1 への変更を保存しますか?").arg(name))) {
    case ui::Answer::Yes:
        return FileSave();
    case ui::Answer::No:
        return true;
    default:
        return false;
    }
}

} // namespace tabry::app
