#pragma once
// A pair of small up and down arrows beside an edit, without a value of
// their own: each click asks the owner to step the edit's number by one.

#include <QWidget>

class QToolButton;

namespace tabry::ui {

class CArrowButtons : public QWidget {
    Q_OBJECT

public:
    explicit CArrowButtons(QWidget* parent = nullptr);
    QToolButton* UpButton() const { return m_up; }
    QToolButton* DownButton() const { return m_down; }
    // Each arrow's size (16 x 11 unless set).
    void SetButtonSize(const QSize& size);

signals:
    void stepped(int delta); // +1 up, -1 down

private:
    QToolButton* m_up;
    QToolButton* m_down;
};

} // namespace tabry::ui
