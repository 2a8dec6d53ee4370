#include "app/PngFile.h"

#include "text/FileIo.h"
#include "widgets/PathText.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>

namespace tabry::app {

bool WritePngFile(const QString& path, const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG"))
        return false;
    return QDir().mkpath(QFileInfo(path).absolutePath())
           && WriteFileAtomically(ui::ToFsPath(path), std::string_view(bytes.constData(), size_t(bytes.size())));
}

} // namespace tabry::app
