#include "playerdb/ui/UserEditDialog.h"

#include "playerdb/PlayerDatabase.h"
#include "playerdb/PlayerText.h"
#include "widgets/Prompt.h"
#include "widgets/TextCodec.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tabry {

using ui::ToQString;
using ui::ToSjis;

CUserEditDialog::CUserEditDialog(const CPlayerDatabase& db, const UserEditValues& values, QWidget* parent)
    : QDialog(parent), m_db(db), m_values(values)
{
    setObjectName(QStringLiteral("UserEditDialog"));
    BuildControls();
    ShowValues();
    // An empty short name leaves the opponents' cells without a name, so a
    // new person gets his family name proposed until one is typed.
    m_shortNameGiven = m_values.recordIndex >= 0 || !m_values.shortName.empty();
    connect(m_shortName, &QLineEdit::textEdited, this, [this] { m_shortNameGiven = true; });
    connect(m_longName, &QLineEdit::textChanged, this, &CUserEditDialog::ProposeShortName);
    ProposeShortName();
}

void CUserEditDialog::BuildControls()
{
    setWindowTitle(m_values.recordIndex >= 0 ? QStringLiteral("ユーザの編集") : QStringLiteral("ユーザの追加"));

    auto makeEdit = [this](const char* name) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QLatin1String(name));
        edit->setMinimumWidth(200);
        return edit;
    };
    m_longName = makeEdit("longName");
    m_shortName = makeEdit("shortName");
    m_inputName = makeEdit("inputName");
    m_memberNumber = makeEdit("memberNumber");

    m_grade = new QComboBox(this);
    m_grade->setObjectName(QStringLiteral("grade"));
    for (const std::string& text : GradeComboTexts())
        m_grade->addItem(ToQString(text));
    m_grade->setMaxVisibleItems(15);

    m_residence = new QComboBox(this);
    m_residence->setObjectName(QStringLiteral("residence"));
    m_residence->setEditable(true);
    // What is typed is what is stored: no completion that would turn "大"
    // into "大阪" behind the user's back, and Enter confirms the dialog
    // rather than adding an item to the list.
    m_residence->setCompleter(nullptr);
    m_residence->setInsertPolicy(QComboBox::NoInsert);
    for (const std::string& name : PrefectureNames())
        m_residence->addItem(ToQString(name));
    m_residence->setMaxVisibleItems(16);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("表示名(長)"), m_longName);
    form->addRow(QStringLiteral("表示名(短)"), m_shortName);
    form->addRow(QStringLiteral("入力名"), m_inputName);
    form->addRow(QStringLiteral("会員番号"), m_memberNumber);
    form->addRow(QStringLiteral("段級位"), m_grade);
    form->addRow(QStringLiteral("居住地"), m_residence);

    m_problem = new QLabel(this);
    m_problem->setObjectName(QStringLiteral("problem"));
    m_problem->setStyleSheet(QStringLiteral("color: #c00000;"));
    m_problem->setWordWrap(true);
    m_problem->hide();

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    connect(buttons, &QDialogButtonBox::accepted, this, &CUserEditDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CUserEditDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_problem);
    layout->addWidget(buttons);

    setTabOrder(m_longName, m_shortName);
    setTabOrder(m_shortName, m_inputName);
    setTabOrder(m_inputName, m_memberNumber);
    setTabOrder(m_memberNumber, m_grade);
    setTabOrder(m_grade, m_residence);
}

void CUserEditDialog::ShowValues()
{
    m_longName->setText(ToQString(m_values.longName));
    m_shortName->setText(ToQString(m_values.shortName));
    m_inputName->setText(ToQString(m_values.inputName));
    m_memberNumber->setText(ToQString(m_values.memberNumber));
    m_grade->setCurrentIndex(m_values.gradeIndex >= 0 && m_values.gradeIndex < m_grade->count() ? m_values.gradeIndex
                                                                                                : -1);

    // The residence is shown exactly as stored: a prefecture name selects its
    // item, any other text (empty included) stands in the edit field as it is,
    // so confirming the dialog never rewrites a residence the user left alone.
    const QString residence = ToQString(m_values.residence);
    const int exact = m_residence->findText(residence, Qt::MatchExactly);
    m_residence->setCurrentIndex(residence.isEmpty() ? -1 : exact);
    if (exact < 0)
        m_residence->setEditText(residence);
    if (m_values.residencePreselection >= 0 && m_values.residencePreselection < m_residence->count())
        m_residence->setCurrentIndex(m_values.residencePreselection);

    // An existing person is usually opened to change something other than
    // the name; a new one starts with the name.
    QLineEdit* first = m_values.recordIndex >= 0 ? m_shortName : m_longName;
    first->setFocus(Qt::OtherFocusReason);
    first->selectAll();
}

void CUserEditDialog::ProposeShortName()
{
    // Whatever put other text there than the last proposal gave it.
    if (m_shortNameGiven || m_shortName->text() != m_proposal) {
        m_shortNameGiven = true;
        return;
    }
    m_proposal = ToQString(ProposedShortName(ToSjis(m_longName->text())));
    m_shortName->setText(m_proposal);
    // Selected, so that what is typed there replaces the proposal.
    m_shortName->selectAll();
}

void CUserEditDialog::Refuse(QWidget* field, QLineEdit* edit, const QString& message)
{
    ui::Prompt().Error(this, message);
    field->setFocus(Qt::OtherFocusReason);
    if (edit != nullptr)
        edit->selectAll();
}

bool CUserEditDialog::CheckEncodable()
{
    struct Field {
        QWidget* widget;
        QLineEdit* edit;
        const char16_t* label;
    };
    const Field fields[] = {
        {m_longName, m_longName, u"表示名(長)"},
        {m_shortName, m_shortName, u"表示名(短)"},
        {m_inputName, m_inputName, u"入力名"},
        {m_memberNumber, m_memberNumber, u"会員番号"},
        {m_residence, m_residence->lineEdit(), u"居住地"},
    };
    for (const Field& f : fields) {
        if (ui::IsSjisEncodable(f.edit->text()))
            continue;
        // Storing such text would silently turn the characters into '?'.
        Refuse(f.widget, f.edit,
               QStringLiteral("「%1」にシフトJISで表せない文字が含まれています。\n"
                              "その文字を別の文字に置き換えてください。")
                   .arg(QString::fromUtf16(f.label)));
        return false;
    }
    return true;
}

void CUserEditDialog::accept()
{
    if (!CheckEncodable())
        return;

    const std::string trimmed = TrimBlanks(ToSjis(m_longName->text()));
    if (trimmed.empty()) {
        Refuse(m_longName, m_longName, QStringLiteral("表示名(長)が入力されていません。"));
        return;
    }
    // Stored long names are folded to lower case; the typed name is folded the
    // same way before the lookup, so "ABC" is recognised as the registered "abc"
    // instead of becoming a second record of the same person.
    const int found = m_db.Find(FoldLowerCase(trimmed));
    if (found >= 0 && found != m_values.recordIndex) {
        Refuse(m_longName, m_longName, QStringLiteral("「%1」さんは既に登録されています。").arg(ToQString(trimmed)));
        return;
    }

    if (TrimBlanks(ToSjis(m_shortName->text())).empty()) {
        // Said beside the fields rather than in a box: the organiser sees
        // the field and the reason together, and types on.
        m_problem->setText(
            QStringLiteral("表示名(短)が入力されていません。対戦相手の欄と成績表に表示される名前です。"));
        m_problem->show();
        m_shortName->setFocus(Qt::OtherFocusReason);
        m_shortName->selectAll();
        return;
    }
    m_problem->hide();

    m_longName->setText(ToQString(trimmed));
    m_values.longName = trimmed;
    m_values.shortName = ToSjis(m_shortName->text());
    m_values.inputName = ToSjis(m_inputName->text());
    m_values.memberNumber = ToSjis(m_memberNumber->text());
    m_values.residence = ToSjis(m_residence->currentText());
    m_values.gradeIndex = m_grade->currentIndex();
    QDialog::accept();
}

} // namespace tabry
