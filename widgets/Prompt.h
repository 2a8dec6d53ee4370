#pragma once
// Every message box and file dialog of the program goes through this
// interface. The desktop program installs the real one; tests install a
// ScriptedPrompt and queue the answers before the code under test asks.

#include <QString>
#include <QStringList>

#include <deque>
#include <memory>
#include <optional>

class QWidget;

namespace tabry::ui {

enum class Answer { Ok, Yes, No, Cancel };

class IPrompt {
public:
    virtual ~IPrompt() = default;

    // Refusal or input error: caption "エラー", exclamation icon, OK.
    virtual void Error(QWidget* parent, const QString& text) = 0;
    // Information: caption given, information icon, OK.
    virtual void Inform(QWidget* parent, const QString& caption, const QString& text) = 0;
    // Question: caption "確認", question icon, Yes/No. True on Yes.
    virtual bool Confirm(QWidget* parent, const QString& text) = 0;
    // Question with Yes, No and Cancel (saving changes before closing).
    virtual Answer AskYesNoCancel(QWidget* parent, const QString& caption, const QString& text) = 0;
    // Question with two named answers: caption "確認", question icon. The
    // second is the default button and what Escape answers, so a hasty
    // Enter takes the careful way. True for the first.
    virtual bool Choose(QWidget* parent, const QString& text, const QString& first, const QString& second) = 0;
    // Save As dialog; asks before overwriting. Empty on cancel.
    // `filter` uses Qt's form: "大会結果ファイル (*.stg);;All Files (*)".
    virtual QString SaveFileName(QWidget* parent, const QString& caption, const QString& proposedPath,
                                 const QString& filter, const QString& defaultSuffix) = 0;
    // Open dialog. Empty on cancel.
    virtual QString OpenFileName(QWidget* parent, const QString& caption, const QString& directory,
                                 const QString& filter) = 0;
    // A whole number from `minimum` to `maximum`, `value` proposed. Nothing
    // on cancel.
    virtual std::optional<int> AskInteger(QWidget* parent, const QString& caption, const QString& label, int value,
                                          int minimum, int maximum) = 0;
};

// The prompt in use (the real one unless a test installed another).
IPrompt& Prompt();
// Installs `prompt` (not owned; nullptr restores the real one).
void SetPrompt(IPrompt* prompt);

// Real message boxes and file dialogs (QMessageBox, QFileDialog).
class WidgetPrompt : public IPrompt {
public:
    void Error(QWidget* parent, const QString& text) override;
    void Inform(QWidget* parent, const QString& caption, const QString& text) override;
    bool Confirm(QWidget* parent, const QString& text) override;
    Answer AskYesNoCancel(QWidget* parent, const QString& caption, const QString& text) override;
    bool Choose(QWidget* parent, const QString& text, const QString& first, const QString& second) override;
    QString SaveFileName(QWidget* parent, const QString& caption, const QString& proposedPath, const QString& filter,
                         const QString& defaultSuffix) override;
    QString OpenFileName(QWidget* parent, const QString& caption, const QString& directory,
                         const QString& filter) override;
    std::optional<int> AskInteger(QWidget* parent, const QString& caption, const QString& label, int value, int minimum,
                                  int maximum) override;
};

// Answers from a queue, and records every text it was shown. An unexpected
// question (empty queue) is answered No / Cancel / empty path and recorded.
// Like the real Save As dialog, SaveFileName asks before a queued path that
// names an existing file is taken ("overwrite" event, answered from the
// answer queue); No goes back to the dialog, which takes the next path.
class ScriptedPrompt : public IPrompt {
public:
    struct Event {
        QString kind; // "error", "inform", "confirm", "yesnocancel", "choose", "save", "overwrite", "open", "integer"
        QString caption;
        QString text;
    };

    void QueueAnswer(Answer a) { m_answers.push_back(a); }
    void QueuePath(const QString& path) { m_paths.push_back(path); }
    void QueueInteger(int value) { m_integers.push_back(value); }
    const std::deque<Event>& Events() const { return m_events; }
    QStringList Texts() const;
    void Reset();
    bool AllAnswersUsed() const { return m_answers.empty() && m_paths.empty() && m_integers.empty(); }

    void Error(QWidget* parent, const QString& text) override;
    void Inform(QWidget* parent, const QString& caption, const QString& text) override;
    bool Confirm(QWidget* parent, const QString& text) override;
    Answer AskYesNoCancel(QWidget* parent, const QString& caption, const QString& text) override;
    // Answered Yes (the first answer) or, also when nothing is queued, No.
    bool Choose(QWidget* parent, const QString& text, const QString& first, const QString& second) override;
    QString SaveFileName(QWidget* parent, const QString& caption, const QString& proposedPath, const QString& filter,
                         const QString& defaultSuffix) override;
    QString OpenFileName(QWidget* parent, const QString& caption, const QString& directory,
                         const QString& filter) override;
    std::optional<int> AskInteger(QWidget* parent, const QString& caption, const QString& label, int value, int minimum,
                                  int maximum) override;

private:
    Answer NextAnswer(Answer fallback);
    QString NextPath();

    std::deque<Answer> m_answers;
    std::deque<QString> m_paths;
    std::deque<int> m_integers;
    std::deque<Event> m_events;
};

} // namespace tabry::ui
