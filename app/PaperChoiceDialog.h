#pragma once
// Which document the print, print-preview and PDF commands produce: the
// pairing sheet of a round, the standings or the result table.

#include "paper/PaperDocuments.h"

#include <QDialog>

class QRadioButton;
class QSpinBox;

namespace tabry::app {

struct PaperChoice {
    paper::PaperKind kind = paper::PaperKind::PairingSheet;
    int round = 1; // the pairing sheet's round (1..roundCount)
};

class CPaperChoiceDialog : public QDialog {
    Q_OBJECT

public:
    // `caption` names the command; the round box runs from 1 to `rounds`.
    CPaperChoiceDialog(const QString& caption, int rounds, const PaperChoice& proposed, QWidget* parent = nullptr);

    PaperChoice Choice() const;
    QRadioButton* KindButton(paper::PaperKind kind) const;
    QSpinBox* RoundBox() const { return m_round; }

private:
    QRadioButton* m_pairing;
    QRadioButton* m_standings;
    QRadioButton* m_table;
    QSpinBox* m_round;
};

} // namespace tabry::app
