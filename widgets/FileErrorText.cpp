#include "widgets/FileErrorText.h"

#include "widgets/PathText.h"

#include <QDir>

namespace tabry::ui {

namespace {

bool Saving(const FileError& e)
{
    return e.step == FileStep::Save || e.step == FileStep::Create || e.step == FileStep::Write
           || e.step == FileStep::Replace || e.step == FileStep::CreateFolder;
}

QString Native(const std::filesystem::path& path)
{
    return QDir::toNativeSeparators(FromFsPath(path));
}

} // namespace

QString FileProblemText(const FileError& e)
{
    if (e.step == FileStep::CreateFolder && e.problem != FileProblem::None) {
        FileError inside = e;
        inside.step = FileStep::Save;
        // Named here, not in the reason: the reason would name its parent.
        if (inside.problem == FileProblem::NotAFolderOnPath)
            return QStringLiteral("保存先のフォルダ「%1」を作成できません。途中にフォルダではなくファイルがあります。")
                .arg(Native(e.path));
        return QStringLiteral("保存先のフォルダ「%1」を作成できません。").arg(Native(e.path)) + FileProblemText(inside);
    }
    const bool saving = Saving(e);
    switch (e.problem) {
    case FileProblem::None:
        return {};
    case FileProblem::Missing:
        return QStringLiteral("ファイルが見つかりません。");
    case FileProblem::Folder:
        return saving ? QStringLiteral("同じ名前のフォルダがあります。")
                      : QStringLiteral("ファイルではなくフォルダです。");
    case FileProblem::NotRegular:
        return saving ? QStringLiteral("通常のファイルではないため上書きできません（デバイスやパイプなど）。")
                      : QStringLiteral("通常のファイルではありません（デバイスやパイプなど）。");
    case FileProblem::TooLarge:
        return QStringLiteral("ファイルが大きすぎます（上限 %1 MB）。").arg(qulonglong(e.limit >> 20));
    case FileProblem::NoPermission:
        return saving ? QStringLiteral("書き込みが許可されていません。")
                      : QStringLiteral("読み取りが許可されていません。");
    case FileProblem::ReadOnlyVolume:
        return QStringLiteral("保存先は読み取り専用です。");
    case FileProblem::ReadOnlyFile:
        return QStringLiteral("ファイルが読み取り専用になっています。");
    case FileProblem::DiskFull:
        return QStringLiteral("ディスクの空き容量が足りません。");
    case FileProblem::FolderMissing:
        return QStringLiteral("保存先のフォルダ「%1」が見つかりません。").arg(Native(e.path.parent_path()));
    case FileProblem::NotAFolderOnPath:
        return QStringLiteral("保存先のフォルダ「%1」を作成できません。途中にフォルダではなくファイルがあります。")
            .arg(Native(e.path.parent_path()));
    case FileProblem::HeldByOtherProgram:
        return QStringLiteral(
            "ほかのプログラムがこのファイルを開いています。そのプログラムを閉じてからやり直してください。");
    case FileProblem::NulByte:
        return QStringLiteral("%1 行目に NUL 文字（0x00）があります。ファイルが壊れている可能性があります。")
            .arg(e.line);
    case FileProblem::Refused:
    case FileProblem::Other:
        break;
    }
    const QString general =
        saving ? QStringLiteral("書き込み中にエラーが発生しました。ディスクの空き容量などを確認してください。")
               : QStringLiteral("読み込み中にエラーが発生しました。");
    return e.systemCode != 0 ? general + QStringLiteral("（エラー番号 %1）").arg(e.systemCode) : general;
}

} // namespace tabry::ui
