#include "app/SettingsDialog.h"

#include "core/ResultTable.h"
#include "widgets/ArrowButtons.h"
#include "widgets/Prompt.h"
#include "widgets/TextCodec.h"

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
    m_method2 = new QComboBox(this);
    m_method2->setObjectName(QStringLiteral("method2"));
    m_method2->addItem(QStringLiteral("なし"));
    for (int i = 0; i < kTieBreakMethodCount; ++i)
        m_method2->addItem(ui::ToQString(TieBreakMethodText(i)));
    m_method2->setCurrentIndex(
        m_values.tieBreak2 >= 0 && m_values.tieBreak2 < kTieBreakMethodCount ? m_values.tieBreak2 + 1 : 0);

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
    form->addWidget(new QLabel(QStringLiteral("同点の場合"), this), 1, 0);
    form->addWidget(m_method2, 1, 1);
    auto* modeBox = new QGroupBox(QStringLiteral("表示・入力方法"), this);
    auto* modeRow = new QHBoxLayout(modeBox);
    modeRow->addWidget(m_difference);
    modeRow->addWidget(m_count);
    modeRow->addStretch(1);
    form->addWidget(modeBox, 2, 0, 1, 2);
    form->addWidget(new QLabel(QStringLiteral("ブライトウェル係数"), this), 3, 0);
    form->addWidget(WithArrows(m_coefficient, m_coefficientArrows, {}, this), 3, 1);
    form->addWidget(new QLabel(QStringLiteral("プレイヤ数"), this), 4, 0);
    form->addWidget(WithArrows(m_players, m_playerArrows, QStringLiteral("人"), this), 4, 1);
    form->addWidget(new QLabel(QStringLiteral("ラウンド数"), this), 5, 0);
    form->addWidget(WithArrows(m_rounds, m_roundArrows, QStringLiteral("回戦"), this), 5, 1);
    form->addWidget(CreateByeBox(), 6, 0, 1, 2);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CSettingsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CSettingsDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);

    connect(m_coefficientArrows, &CArrowButtons::stepped, this, [this](int d) { Step(SettingsField::Coefficient, d); });
    connect(m_playerArrows, &CArrowButtons::stepped, this, [this](int d) { Step(SettingsField::Players, d); });
    connect(m_roundArrows, &CArrowButtons::stepped, this, [this](int d) { Step(SettingsField::Rounds, d); });
    connect(m_method, &QComboBox::currentIndexChanged, this, &CSettingsDialog::UpdateCoefficientEnabling);
    connect(m_method2, &QComboBox::currentIndexChanged, this, &CSettingsDialog::UpdateCoefficientEnabling);
    UpdateCoefficientEnabling();
}

QGroupBox* CSettingsDialog::CreateByeBox()
{
    auto* box = new QGroupBox(QStringLiteral("不戦の扱い"), this);
    m_byeResult = new QComboBox(box);
    m_byeResult->setObjectName(QStringLiteral("byeResult"));
    m_byeResult->addItems({QStringLiteral("結果なし"), QStringLiteral("勝ち")});
    m_byeResult->setCurrentIndex(m_values.bye.winDisc > 0 ? 1 : 0);
    m_byeScore = new QLineEdit(FormatByeScore(m_values.bye.winDisc), box);
    m_byeScore->setObjectName(QStringLiteral("byeScore"));
    m_byeScore->setMaxLength(8);
    m_byeScore->setFixedWidth(56);
    m_byeScore->setEnabled(m_values.bye.winDisc > 0);
    m_byeReceiver = new QComboBox(box);
    m_byeReceiver->setObjectName(QStringLiteral("byeReceiver"));
    m_byeReceiver->addItems({QStringLiteral("組み合わせの計算に任せる"), QStringLiteral("不戦勝の無い最下位の参加者")});
    m_byeReceiver->setCurrentIndex(m_values.bye.toLowest ? 1 : 0);
    connect(m_byeResult, &QComboBox::currentIndexChanged, m_byeScore,
            [this](int index) { m_byeScore->setEnabled(index == 1); });

    auto* grid = new QGridLayout(box);
    grid->addWidget(new QLabel(QStringLiteral("不戦の結果"), box), 0, 0);
    auto* scoreRow = new QHBoxLayout;
    scoreRow->addWidget(m_byeResult);
    scoreRow->addWidget(m_byeScore);
    scoreRow->addWidget(new QLabel(QStringLiteral("石"), box));
    scoreRow->addStretch(1);
    grid->addLayout(scoreRow, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("不戦を受ける人"), box), 1, 0);
    grid->addWidget(m_byeReceiver, 1, 1);
    return box;
}

bool CSettingsDialog::ReadByeRule(ByeRule& rule)
{
    rule.toLowest = m_byeReceiver->currentIndex() == 1;
    rule.winDisc = 0;
    if (m_byeResult->currentIndex() != 1)
        return true;
    const std::optional<int> win = ParseByeScore(m_byeScore->text());
    if (!win) {
        m_byeScore->setFocus(Qt::OtherFocusReason);
        m_byeScore->selectAll();
        ui::Prompt().Error(this, QStringLiteral("不戦勝の石数は 33-31 から 64-0 の形で入れてください"));
        return false;
    }
    rule.winDisc = *win;
    return true;
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
    const bool brightwell = UsesBrightwell(m_method->currentIndex(), m_method2->currentIndex() - 1);
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
    read.tieBreak2 = m_method2->currentIndex() > 0 ? m_method2->currentIndex() - 1 : kNoTieBreak;
    read.players = ParseCount(m_players->text());
    read.rounds = ParseCount(m_rounds->text());
    read.brightwellTenths = ParseCoefficient(m_coefficient->text());
    if (!ReadByeRule(read.bye))
        return;
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
