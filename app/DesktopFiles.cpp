#include "app/DesktopFiles.h"

#include "app/AppIcons.h"
#include "app/FileAssociation.h"
#include "app/PngFile.h"
#include "text/FileIo.h"
#include "widgets/PathText.h"

#include <QDir>
#include <QFileInfo>

namespace tabry::app {

namespace {

bool WriteBytes(const QString& path, const QByteArray& bytes, QString* error)
{
    if (QDir().mkpath(QFileInfo(path).absolutePath())
        && WriteFileAtomically(ui::ToFsPath(path), std::string_view(bytes.constData(), size_t(bytes.size()))))
        return true;
    if (error != nullptr)
        *error = QStringLiteral("%1 を書き込めません。").arg(QDir::toNativeSeparators(path));
    return false;
}

bool WritePng(const QString& path, const QImage& image, QString* error)
{
    if (WritePngFile(path, image))
        return true;
    if (error != nullptr)
        *error = QStringLiteral("%1 を書き込めません。").arg(QDir::toNativeSeparators(path));
    return false;
}

} // namespace

bool WriteDesktopFiles(const QString& shareDirectory, QString* error)
{
    const QDir share(shareDirectory);
    if (!WriteBytes(share.filePath(QStringLiteral("applications/torva.desktop")),
                    CFileAssociation::DesktopEntryText(QStringLiteral("torva %f")).toUtf8(), error)
        || !WriteBytes(share.filePath(QStringLiteral("mime/packages/torva-stg.xml")),
                       CFileAssociation::MimePackageXml().toUtf8(), error))
        return false;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QString folder = QStringLiteral("icons/hicolor/%1x%1/").arg(size);
        if (!WritePng(share.filePath(folder + QStringLiteral("apps/torva.png")), AppIconImage(size), error)
            || !WritePng(share.filePath(folder + QStringLiteral("mimetypes/application-x-torva-stg.png")),
                         DocumentIconImage(size), error))
            return false;
    }
    return true;
}

} // namespace tabry::app
