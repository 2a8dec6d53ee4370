#include "app/FileErrors.h"

#include <QFileInfo>

namespace tabry::app {

QString ReadFailureDetail(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return QStringLiteral("ファイルが見つかりません。");
    if (info.isDir())
        return QStringLiteral("ファイルではなくフォルダです。");
    if (!info.isReadable())
        return QStringLiteral("読み取りが許可されていません。");
    return QStringLiteral("読み込み中にエラーが発生しました。");
}

QString WriteFailureDetail(const QString& path)
{
    const QFileInfo info(path);
    const QFileInfo folder(info.absolutePath());
    if (!folder.exists() || !folder.isDir())
        return QStringLiteral("保存先のフォルダが見つかりません。");
    if (info.isDir())
        return QStringLiteral("同じ名前のフォルダがあります。");
    if (!folder.isWritable() || (info.exists() && !info.isWritable()))
        return QStringLiteral("書き込みが許可されていません。");
    return QStringLiteral("書き込み中にエラーが発生しました。ディスクの空き容量などを確認してください。");
}

} // namespace tabry::app
