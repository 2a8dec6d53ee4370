#include "app/PaperChoiceDialog.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

namespace tabry::app {

CPaperChoiceDialog::CPaperChoiceDialog(const QString& caption, int rounds, const PaperChoice& proposed, QWidget* parent)
    : QDialog(parent), m_pairing(new QRadioButton(QStringLiteral("組み合わせ表(&K)"), this)),
      m_standings(new QRadioButton(QStringLiteral("成績表(&S)"), this)),
      m_table(new QRadioButton(QStringLiteral("対戦表(&T)"), this)), m_round(new QSpinBox(this))
{
    setWindowTitle(caption);
    setObjectName(QStringLiteral("paperChoiceDialog"));
    m_pairing->setObjectName(QStringLiteral("pairingSheet"));
    m_standings->setObjectName(QStringLiteral("standings"));
    m_table->setObjectName(QStringLiteral("resultTable"));
    m_round->setObjectName(QStringLiteral("round"));
    m_round->setRange(1, std::max(1, rounds));
    m_round->setValue(std::clamp(proposed.round, 1, std::max(1, rounds)));
    m_round->setSuffix(QStringLiteral(" 回戦"));

    auto* group = new QGroupBox(QStringLiteral("表の種類"), this);
    auto* kinds = new QVBoxLayout(group);
    auto* pairingLine = new QHBoxLayout;
    pairingLine->addWidget(m_pairing);
    auto* roundLabel = new QLabel(QStringLiteral("回戦(&R):"), this);
    roundLabel->setBuddy(m_round);
    pairingLine->addStretch(1);
    pairingLine->addWidget(roundLabel);
    pairingLine->addWidget(m_round);
    kinds->addLayout(pairingLine);
    kinds->addWidget(m_standings);
    kinds->addWidget(m_table);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(buttons);

    // The round matters only for the pairing sheet.
    connect(m_pairing, &QRadioButton::toggled, m_round, &QWidget::setEnabled);
    connect(m_pairing, &QRadioButton::toggled, roundLabel, &QWidget::setEnabled);
    KindButton(proposed.kind)->setChecked(true);
    m_round->setEnabled(m_pairing->isChecked());
    roundLabel->setEnabled(m_pairing->isChecked());
}

QRadioButton* CPaperChoiceDialog::KindButton(paper::PaperKind kind) const
{
    switch (kind) {
    case paper::PaperKind::PairingSheet:
        return m_pairing;
    case paper::PaperKind::Standings:
        return m_standings;
    case paper::PaperKind::ResultTable:
        break;
    }
    return m_table;
}

PaperChoice CPaperChoiceDialog::Choice() const
{
    PaperChoice choice;
    choice.kind = m_pairing->isChecked()     ? paper::PaperKind::PairingSheet
                  : m_standings->isChecked() ? paper::PaperKind::Standings
                                             : paper::PaperKind::ResultTable;
    choice.round = m_round->value();
    return choice;
}

} // namespace tabry::app
