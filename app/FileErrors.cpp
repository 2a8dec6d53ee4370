#include "app/FileErrors.h"

#include <QDir>
#include <QFileInfo>

namespace tabry::app {

namespace {

QString Native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

QString ReadFailureDetail(const QString& path, qint64 sizeLimit)
{
    const QFileInfo info(path);
    if (!info.exists())
        return QStringLiteral("ファイルが見つかりません。");
    if (info.isDir())
        return QStringLiteral("ファイルではなくフォルダです。");
    if (!info.isFile())
        return QStringLiteral("通常のファイルではありません（デバイスやパイプなど）。");
    if (info.size() > sizeLimit)
        return QStringLiteral("ファイルが大きすぎます（上限 %1 MB）。").arg(sizeLimit >> 20);
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

QString NulByteDetail(int line)
{
    return QStringLiteral("%1 行目に NUL 文字（0x00）があります。ファイルが壊れている可能性があります。").arg(line);
}

QString DatabaseUnreadableMessage(const QString& path, int faultLine)
{
    return QStringLiteral("プレイヤデータベース「%1」を読み込めません。\n%2\n"
                          "このファイルを守るため、データベースへの変更は保存されません。")
        .arg(Native(path), faultLine != 0 ? NulByteDetail(faultLine)
                                          : ReadFailureDetail(path, qint64(kMaxPlayerDatabaseBytes)));
}

} // namespace tabry::app
