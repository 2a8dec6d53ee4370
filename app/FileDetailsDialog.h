#pragma once
// "ファイル詳細情報": the tournament's name and date. The command copies the
// details in, and after OK back out, repaints the title strip and marks the
// tournament modified.

#include "app/FileDetailsLogic.h"

#include <QDialog>

class QLineEdit;

namespace tabry::app {

class CFileDetailsDialog : public QDialog {
    Q_OBJECT

public:
    CFileDetailsDialog(const DetailsText& initial, QWidget* parent = nullptr);

    // The values after OK.
    const DetailsText& Values() const { return m_values; }
    QLineEdit* Edit(DetailsField field) const;

    void accept() override;

private:
    DetailsText m_values;
    QLineEdit* m_name;
    QLineEdit* m_year;
    QLineEdit* m_month;
    QLineEdit* m_day;
};

} // namespace tabry::app
