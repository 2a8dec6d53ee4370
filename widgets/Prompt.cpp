#include "widgets/Prompt.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace tabry::ui {

namespace {
IPrompt* g_prompt = nullptr;
} // namespace

IPrompt& Prompt()
{
    static WidgetPrompt real;
    return g_prompt != nullptr ? *g_prompt : real;
}

void SetPrompt(IPrompt* prompt)
{
    g_prompt = prompt;
}

void WidgetPrompt::Error(QWidget* parent, const QString& text)
{
    QMessageBox::warning(parent, QStringLiteral("エラー"), text, QMessageBox::Ok);
}

void WidgetPrompt::Inform(QWidget* parent, const QString& caption, const QString& text)
{
    QMessageBox::information(parent, caption, text, QMessageBox::Ok);
}

bool WidgetPrompt::Confirm(QWidget* parent, const QString& text)
{
    return QMessageBox::question(parent, QStringLiteral("確認"), text, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::Yes)
           == QMessageBox::Yes;
}

Answer WidgetPrompt::AskYesNoCancel(QWidget* parent, const QString& caption, const QString& text)
{
    const auto r = QMessageBox::question(parent, caption, text,
                                         QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    return r == QMessageBox::Yes ? Answer::Yes : (r == QMessageBox::No ? Answer::No : Answer::Cancel);
}

bool WidgetPrompt::Choose(QWidget* parent, const QString& text, const QString& first, const QString& second)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("確認"), text, QMessageBox::NoButton, parent);
    QPushButton* yes = box.addButton(first, QMessageBox::AcceptRole);
    QPushButton* no = box.addButton(second, QMessageBox::RejectRole);
    box.setDefaultButton(no);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

QString WidgetPrompt::SaveFileName(QWidget* parent, const QString& caption, const QString& proposedPath,
                                   const QString& filter, const QString& defaultSuffix)
{
    QFileDialog dialog(parent, caption, proposedPath, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(defaultSuffix);
    dialog.selectFile(proposedPath);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

QString WidgetPrompt::OpenFileName(QWidget* parent, const QString& caption, const QString& directory,
                                   const QString& filter)
{
    return QFileDialog::getOpenFileName(parent, caption, directory, filter);
}

std::optional<int> WidgetPrompt::AskInteger(QWidget* parent, const QString& caption, const QString& label, int value,
                                            int minimum, int maximum)
{
    bool ok = false;
    const int v = QInputDialog::getInt(parent, caption, label, value, minimum, maximum, 1, &ok);
    if (!ok)
        return std::nullopt;
    return v;
}

QStringList ScriptedPrompt::Texts() const
{
    QStringList out;
    for (const Event& e : m_events)
        out << e.text;
    return out;
}

void ScriptedPrompt::Reset()
{
    m_answers.clear();
    m_paths.clear();
    m_integers.clear();
    m_events.clear();
}

Answer ScriptedPrompt::NextAnswer(Answer fallback)
{
    if (m_answers.empty())
        return fallback;
    const Answer a = m_answers.front();
    m_answers.pop_front();
    return a;
}

QString ScriptedPrompt::NextPath()
{
    if (m_paths.empty())
        return {};
    QString p = m_paths.front();
    m_paths.pop_front();
    return p;
}

void ScriptedPrompt::Error(QWidget*, const QString& text)
{
    m_events.push_back({QStringLiteral("error"), QStringLiteral("エラー"), text});
}

void ScriptedPrompt::Inform(QWidget*, const QString& caption, const QString& text)
{
    m_events.push_back({QStringLiteral("inform"), caption, text});
}

bool ScriptedPrompt::Confirm(QWidget*, const QString& text)
{
    m_events.push_back({QStringLiteral("confirm"), QStringLiteral("確認"), text});
    return NextAnswer(Answer::No) == Answer::Yes;
}

Answer ScriptedPrompt::AskYesNoCancel(QWidget*, const QString& caption, const QString& text)
{
    m_events.push_back({QStringLiteral("yesnocancel"), caption, text});
    return NextAnswer(Answer::Cancel);
}

bool ScriptedPrompt::Choose(QWidget*, const QString& text, const QString& first, const QString& second)
{
    m_events.push_back({QStringLiteral("choose"), first + QStringLiteral(" / ") + second, text});
    return NextAnswer(Answer::No) == Answer::Yes;
}

QString ScriptedPrompt::SaveFileName(QWidget*, const QString& caption, const QString& proposedPath, const QString&,
                                     const QString&)
{
    m_events.push_back({QStringLiteral("save"), caption, proposedPath});
    for (;;) {
        QString path = NextPath();
        if (path.isEmpty() || !QFileInfo::exists(path))
            return path;
        m_events.push_back(
            {QStringLiteral("overwrite"), caption, QStringLiteral("%1 は既に存在します。\n上書きしますか?").arg(path)});
        if (NextAnswer(Answer::No) == Answer::Yes)
            return path;
    }
}

QString ScriptedPrompt::OpenFileName(QWidget*, const QString& caption, const QString& directory, const QString&)
{
    m_events.push_back({QStringLiteral("open"), caption, directory});
    return NextPath();
}

std::optional<int> ScriptedPrompt::AskInteger(QWidget*, const QString& caption, const QString& label, int, int, int)
{
    m_events.push_back({QStringLiteral("integer"), caption, label});
    if (m_integers.empty())
        return std::nullopt;
    const int v = m_integers.front();
    m_integers.pop_front();
    return v;
}

} // namespace tabry::ui
