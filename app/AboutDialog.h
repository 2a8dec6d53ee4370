#pragma once
// "バージョン情報": the product line, what the program is for, and the home page.

#include <QDialog>

namespace tabry::app {

class CAboutDialog : public QDialog {
    Q_OBJECT

public:
    explicit CAboutDialog(QWidget* parent = nullptr);
};

} // namespace tabry::app
