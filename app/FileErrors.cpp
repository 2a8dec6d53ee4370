#include "app/FileErrors.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

namespace tabry::app {

namespace {

QString Native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// The nearest folder (or whatever is there) above `path` that exists.
QFileInfo ExistingAncestor(const QString& path)
{
    QString current = QDir::cleanPath(path);
    for (;;) {
        const QFileInfo info(current);
        const QString parent = info.absolutePath();
        if (info.exists() || parent == current)
            return info;
        current = parent;
    }
}

bool ReadOnlyVolume(const QString& folder)
{
    const QStorageInfo storage(folder);
    return storage.isValid() && storage.isReadOnly();
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
    const QString folderPath = info.absolutePath();
    const QFileInfo folder(folderPath);
    if (!folder.exists()) {
        // The folder was to be made before the save; say what stopped that.
        const QFileInfo above = ExistingAncestor(folderPath);
        if (above.exists() && !above.isDir())
            return QStringLiteral("保存先のフォルダ「%1」を作成できません。「%2」はフォルダではなくファイルです。")
                .arg(Native(folderPath), Native(above.absoluteFilePath()));
        if (above.exists() && (ReadOnlyVolume(above.absoluteFilePath()) || !above.isWritable()))
            return QStringLiteral("保存先のフォルダ「%1」を作成できません。「%2」への書き込みが許可されていません。")
                .arg(Native(folderPath), Native(above.absoluteFilePath()));
        return QStringLiteral("保存先のフォルダが見つかりません。");
    }
    if (!folder.isDir())
        return QStringLiteral("保存先の「%1」はフォルダではなくファイルです。").arg(Native(folderPath));
    if (info.isDir())
        return QStringLiteral("同じ名前のフォルダがあります。");
    if (info.exists() && !info.isFile())
        return QStringLiteral("通常のファイルではないため上書きできません（デバイスやパイプなど）。");
    if (ReadOnlyVolume(folderPath))
        return QStringLiteral("保存先は読み取り専用です。");
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
        .arg(Native(path),
             faultLine != 0 ? NulByteDetail(faultLine) : ReadFailureDetail(path, qint64(kMaxPlayerDatabaseBytes)));
}

} // namespace tabry::app
