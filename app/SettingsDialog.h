#pragma once
// "設定": the tie-break method, how disc scores are shown and typed, the
// Brightwell coefficient and the size of the table. The dialog changes
// nothing itself except that accepting the data-loss question marks the
// tournament modified; the command applies the values after OK.

#include "app/SettingsLogic.h"

#include <QDialog>

class QComboBox;
class QGroupBox;
class QLineEdit;
class QRadioButton;

namespace tabry::ui {
class CArrowButtons;
}

namespace tabry::app {

using ui::CArrowButtons;

class CSettingsDialog : public QDialog {
    Q_OBJECT

public:
    CSettingsDialog(const CResultTable& table, QWidget* parent = nullptr);

    // The accepted values (valid after OK).
    const SettingsValues& Values() const { return m_values; }

    QComboBox* MethodList() const { return m_method; }
    // The second method: item 0 なし, then the methods in their order.
    QComboBox* SecondMethodList() const { return m_method2; }
    QRadioButton* DifferenceButton() const { return m_difference; }
    QRadioButton* CountButton() const { return m_count; }
    QLineEdit* Edit(SettingsField field) const;
    CArrowButtons* Arrows(SettingsField field) const;
    // The bye rule: what a bye scores (0 結果なし, 1 勝ち with the score
    // field's discs) and who receives it (0 the pairing's costs, 1 the lowest-ranked).
    QComboBox* ByeResultList() const { return m_byeResult; }
    QLineEdit* ByeScoreEdit() const { return m_byeScore; }
    QComboBox* ByeReceiverList() const { return m_byeReceiver; }

    void accept() override;

signals:
    // The data-loss question was answered Yes.
    void dataLossAccepted();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Step(SettingsField field, int delta);
    void UpdateCoefficientEnabling();
    void FocusField(SettingsField field);
    QGroupBox* CreateByeBox();
    // The bye rule of the controls into `rule`; false (after saying why)
    // when the score is no win.
    bool ReadByeRule(ByeRule& rule);

    const CResultTable& m_table;
    SettingsValues m_values;
    QComboBox* m_method;
    QRadioButton* m_difference;
    QRadioButton* m_count;
    QLineEdit* m_coefficient;
    QLineEdit* m_players;
    QLineEdit* m_rounds;
    CArrowButtons* m_coefficientArrows;
    CArrowButtons* m_playerArrows;
    CArrowButtons* m_roundArrows;
    QComboBox* m_method2 = nullptr;
    QComboBox* m_byeResult = nullptr;
    QLineEdit* m_byeScore = nullptr;
    QComboBox* m_byeReceiver = nullptr;
};

} // namespace tabry::app
