#include "app/FileDetailsDialog.h"

#include "widgets/Prompt.h"
#include "widgets/TextCodec.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QValidator>

namespace tabry::app {

namespace {

// Refuses input that would make the name longer than the file allows, counted
// in Shift_JIS bytes as the file stores it (a full-width character is two).
// A longer name read from a file can still be shortened.
class SjisLengthValidator : public QValidator {
public:
    SjisLengthValidator(int maxBytes, QLineEdit* edit) : QValidator(edit), m_max(maxBytes)
    {
        // The edit's text already holds a change while it is validated, so
        // the length before it is remembered here.
        m_accepted = ui::ToSjis(edit->text()).size();
        connect(edit, &QLineEdit::textChanged, this,
                [this](const QString& text) { m_accepted = ui::ToSjis(text).size(); });
    }
    State validate(QString& input, int&) const override
    {
        const size_t bytes = ui::ToSjis(input).size();
        return bytes <= static_cast<size_t>(m_max) || bytes < m_accepted ? Acceptable : Invalid;
    }

private:
    int m_max;
    size_t m_accepted = 0;
};

} // namespace

CFileDetailsDialog::CFileDetailsDialog(const DetailsText& initial, QWidget* parent)
    : QDialog(parent), m_values(initial), m_name(new QLineEdit(initial.name, this)),
      m_year(new QLineEdit(initial.year, this)), m_month(new QLineEdit(initial.month, this)),
      m_day(new QLineEdit(initial.day, this))
{
    setWindowTitle(QStringLiteral("ファイル詳細情報"));
    setObjectName(QStringLiteral("fileDetailsDialog"));
    m_name->setObjectName(QStringLiteral("name"));
    m_year->setObjectName(QStringLiteral("year"));
    m_month->setObjectName(QStringLiteral("month"));
    m_day->setObjectName(QStringLiteral("day"));
    m_name->setValidator(new SjisLengthValidator(kMaxNameBytes, m_name));
    m_name->setMinimumWidth(320);
    m_year->setFixedWidth(56);
    m_month->setFixedWidth(36);
    m_day->setFixedWidth(36);

    auto* date = new QHBoxLayout;
    date->addWidget(m_year);
    date->addWidget(new QLabel(QStringLiteral("年"), this));
    date->addWidget(m_month);
    date->addWidget(new QLabel(QStringLiteral("月"), this));
    date->addWidget(m_day);
    date->addWidget(new QLabel(QStringLiteral("日"), this));
    date->addStretch(1);

    auto* form = new QGridLayout;
    form->addWidget(new QLabel(QStringLiteral("大会名"), this), 0, 0);
    form->addWidget(m_name, 0, 1);
    form->addWidget(new QLabel(QStringLiteral("開催日"), this), 1, 0);
    form->addLayout(date, 1, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CFileDetailsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CFileDetailsDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

QLineEdit* CFileDetailsDialog::Edit(DetailsField field) const
{
    switch (field) {
    case DetailsField::Name:
        return m_name;
    case DetailsField::Year:
        return m_year;
    case DetailsField::Month:
        return m_month;
    case DetailsField::Day:
        return m_day;
    }
    return nullptr;
}

void CFileDetailsDialog::accept()
{
    const DetailsText text{m_name->text(), m_year->text(), m_month->text(), m_day->text()};
    if (const std::optional<DetailsError> error = ValidateDetails(text)) {
        ui::Prompt().Error(this, error->message);
        QLineEdit* edit = Edit(error->field);
        edit->setFocus(Qt::OtherFocusReason);
        edit->selectAll();
        return;
    }
    m_values = text;
    QDialog::accept();
}

} // namespace tabry::app
