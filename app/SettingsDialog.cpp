#include "app/SettingsDialog.h"

#include "widgets/ArrowButtons.h"
#include "widgets/Prompt.h"
#include "widgets/TextCodec.h"
#include "core/ResultTable.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tabry::app {

namespace {

QWidget* WithArrows(QLineEdit* edit, CArrowButtons* arrows, const QString& unit, QWidget* parent)
{
    auto* box = new QWidget(parent);
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    row->addWidget(edit);
    row->addWidget(arrows);
    if (!unit.isEmpty())
        row->addWidget(new QLabel(unit, box));
    row->addStretch(1);
    return box;
}

} // namespace

CSettingsDialog::CSettingsDialog(const CResultTable& table, QWidget* parent)
    : QDialog(parent), m_table(table), m_values(SettingsValues::FromTable(table)), m_method(new QComboBox(this)),
      m_difference(new QRadioButton(QStringLiteral("石差"), this)),
      m_count(new QRadioButton(QStringLiteral("石数"), this)), m_coefficient(new QLineEdit(this)),
      m_players(new QLineEdit(this)), m_rounds(new QLineEdit(this)), m_coefficientArrows(new CArrowButtons(this)),
      m_playerArrows(new CArrowButtons(this)), m_roundArrows(new CArrowButtons(this))
{
    setWindowTitle(QStringLiteral("設定"));
    setObjectName(QStringLiteral("settingsDialog"));
    m_method->setObjectName(QStringLiteral("method"));
    m_difference->setObjectName(QStringLiteral("discDifference"));
    m_count->setObjectName(QStringLiteral("discCount"));
    m_coefficient->setObjectName(QStringLiteral("coefficient"));
    m_players->setObjectName(QStringLiteral("players"));
    m_rounds->setObjectName(QStringLiteral("rounds"));

    for (int i = 0; i < kTieBreakMethodCount; ++i)
        m_method->addItem(ui::ToQString(TieBreakMethodText(i)));
    // A method outside the list (a hand-edited file) shows as the first.
    m_method->setCurrentIndex(EffectiveTieBreak(m_values.tieBreak));

    auto* modes = new QButtonGroup(this);
    modes->addButton(m_difference);
    modes->addButton(m_count);
    (m_values.showDiscDifference ? m_difference : m_count)->setChecked(true);

    m_coefficient->setAlignment(Qt::AlignRight);
    m_coefficient->setText(FormatCoefficient(m_values.brightwellTenths));
    m_players->setText(QString::number(m_values.players));
    m_rounds->setText(QString::number(m_values.rounds));
    for (QLineEdit* e : {m_coefficient, m_players, m_rounds}) {
        e->setMaxLength(8);
        e->setFixedWidth(56);
        e->installEventFilter(this);
    }

    auto* form = new QGridLayout;
    form->addWidget(new QLabel(QStringLiteral("同勝数者の順位決定方法"), this), 0, 0);
    form->addWidget(m_method, 0, 1);
    auto* modeBox = new QGroupBox(QStringLiteral("表示・入力方法"), this);
    auto* modeRow = new QHBoxLayout(modeBox);
    modeRow->addWidget(m_difference);
    modeRow->addWidget(m_count);
    modeRow->addStretch(1);
    form->addWidget(modeBox, 1, 0, 1, 2);
    form->addWidget(new QLabel(QStringLiteral("ブライトウェル係数"), this), 2, 0);
    form->addWidget(WithArrows(m_coefficient, m_coefficientArrows, {}, this), 2, 1);
    form->addWidget(new QLabel(QStringLiteral("プレイヤ数"), this), 3, 0);
    form->addWidget(WithArrows(m_players, m_playerArrows, QStringLiteral("人"), this), 3, 1);
    form->addWidget(new QLabel(QStringLiteral("ラウンド数"), this), 4, 0);
    form->addWidget(WithArrows(m_rounds, m_roundArrows, QStringLiteral("回戦"), this), 4, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CSettingsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CSettingsDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);

    connect(m_coefficientArrows, &CArrowButtons::stepped, this,
            [this](int d) { Step(SettingsField::Coefficient, d); });
    connect(m_playerArrows, &CArrowButtons::stepped, this, [this](int d) { Step(SettingsField::Players, d); });
    connect(m_roundArrows, &CArrowButtons::stepped, this, [this](int d) { Step(SettingsField::Rounds, d); });
    connect(m_method, &QComboBox::currentIndexChanged, this, &CSettingsDialog::UpdateCoefficientEnabling);
    UpdateCoefficientEnabling();
}

QLineEdit* CSettingsDialog::Edit(SettingsField field) const
{
    switch (field) {
    case SettingsField::Players:
        return m_players;
    case SettingsField::Rounds:
        return m_rounds;
    case SettingsField::Coefficient:
        return m_coefficient;
    }
    return nullptr;
}

CArrowButtons* CSettingsDialog::Arrows(SettingsField field) const
{
    switch (field) {
    case SettingsField::Players:
        return m_playerArrows;
    case SettingsField::Rounds:
        return m_roundArrows;
    case SettingsField::Coefficient:
        return m_coefficientArrows;
    }
    return nullptr;
}

void CSettingsDialog::UpdateCoefficientEnabling()
{
    const bool brightwell = m_method->currentIndex() == Brightwell;
    m_coefficient->setReadOnly(!brightwell);
    m_coefficientArrows->setEnabled(brightwell);
    // A read-only box still looks like a field to type into; it takes the
    // colours of a disabled one instead (it stays read-only rather than
    // disabled, since the arrow keys still step it).
    QPalette look = palette();
    if (!brightwell) {
        look.setColor(QPalette::Base, look.color(QPalette::Disabled, QPalette::Window));
        look.setColor(QPalette::Text, look.color(QPalette::Disabled, QPalette::Text));
    }
    m_coefficient->setPalette(look);
}

void CSettingsDialog::FocusField(SettingsField field)
{
    QLineEdit* edit = Edit(field);
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
}

void CSettingsDialog::Step(SettingsField field, int delta)
{
    QLineEdit* edit = Edit(field);
    edit->setText(StepText(field, edit->text(), delta));
    FocusField(field);
}

bool CSettingsDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            const int delta = key == Qt::Key_Up ? +1 : -1;
            // The arrow keys step even a read-only coefficient.
            for (SettingsField f : {SettingsField::Players, SettingsField::Rounds, SettingsField::Coefficient}) {
                if (watched == Edit(f)) {
                    Step(f, delta);
                    return true;
                }
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CSettingsDialog::accept()
{
    SettingsValues read;
    read.showDiscDifference = m_difference->isChecked();
    read.tieBreak = m_method->currentIndex();
    read.players = ParseCount(m_players->text());
    read.rounds = ParseCount(m_rounds->text());
    read.brightwellTenths = ParseCoefficient(m_coefficient->text());
    const SettingsCheck check = CheckSettings(read, m_table);
    switch (check.outcome) {
    case SettingsCheck::RangeError:
        FocusField(check.field);
        ui::Prompt().Error(this, check.message);
        return;
    case SettingsCheck::Confirm:
        if (!ui::Prompt().Confirm(this, check.message)) {
            FocusField(check.field);
            return;
        }
        emit dataLossAccepted();
        break;
    case SettingsCheck::Accept:
        break;
    }
    m_values = check.values;
    QDialog::accept();
}

} // namespace tabry::app
