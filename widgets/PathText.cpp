#include "widgets/PathText.h"

namespace tabry::ui {

std::filesystem::path ToFsPath(const QString& path)
{
    return std::filesystem::path(path.toStdU16String());
}

QString FromFsPath(const std::filesystem::path& path)
{
    return QString::fromStdU16String(path.u16string());
}

} // namespace tabry::ui
