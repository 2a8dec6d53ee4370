#pragma once
// The one form in which a person's data is typed: long and short display
// names, input name, member number, grade and residence. It checks that the
// long name is given, is not already registered and that every text can be
// stored in Shift_JIS; it never changes the player database itself.

#include "playerdb/ui/UserEditValues.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;

namespace tabry {

class CPlayerDatabase;

class CUserEditDialog : public QDialog {
    Q_OBJECT

public:
    // `db` is the database the duplicate check reads (as it is now; the
    // dialog keeps a reference, so it must outlive the dialog).
    CUserEditDialog(const CPlayerDatabase& db, const UserEditValues& values, QWidget* parent = nullptr);

    // The values as the caller gave them until OK; after OK what the user
    // confirmed (the long name trimmed, the other texts as typed).
    const UserEditValues& Values() const { return m_values; }

    // The controls, for the callers' tests.
    QLineEdit* LongNameEdit() const { return m_longName; }
    QLineEdit* ShortNameEdit() const { return m_shortName; }
    QLineEdit* InputNameEdit() const { return m_inputName; }
    QLineEdit* MemberNumberEdit() const { return m_memberNumber; }
    QComboBox* GradeBox() const { return m_grade; }
    QComboBox* ResidenceBox() const { return m_residence; }
    // Why OK was refused, inside the dialog; hidden while nothing is wrong.
    QLabel* ProblemLabel() const { return m_problem; }

public slots:
    void accept() override;

private:
    void BuildControls();
    void ShowValues();
    // Refuses text with characters that have no Shift_JIS code; true when
    // every field can be stored.
    bool CheckEncodable();
    void Refuse(QWidget* field, QLineEdit* edit, const QString& message);
    // Proposes the short name from the long name while it was not typed by hand.
    void ProposeShortName();

    const CPlayerDatabase& m_db;
    UserEditValues m_values;

    QLineEdit* m_longName = nullptr;
    QLineEdit* m_shortName = nullptr;
    QLineEdit* m_inputName = nullptr;
    QLineEdit* m_memberNumber = nullptr;
    QComboBox* m_grade = nullptr;
    QComboBox* m_residence = nullptr;
    QLabel* m_problem = nullptr;
    // The short name was given (an existing person's, or typed): no proposal
    // replaces it.
    bool m_shortNameGiven = false;
    QString m_proposal; // the short name last proposed
};

} // namespace tabry
