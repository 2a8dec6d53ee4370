#include "grid/ResultPopup.h"

#include "core/TournamentData.h"
#include "grid/DialogUnits.h"
#include "grid/EditorList.h"
#include "grid/GridPalette.h"
#include "grid/ResultGrid.h"
#include "grid/ScoreText.h"
#include "widgets/ArrowButtons.h"
#include "widgets/TextCodec.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

#include <algorithm>

namespace tabry::grid {

namespace {

constexpr int kWidth = 52;
constexpr int kHeight = 86;

bool NoModifiers(const QKeyEvent* key)
{
    return !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
}

} // namespace

QStringList CResultPopup::MarkTexts()
{
    return {QStringLiteral("　"), QStringLiteral("○"), QStringLiteral("△"), QStringLiteral("×")};
}

CResultPopup::CResultPopup(CResultGrid& grid, int row, int round)
    : QFrame(&grid, Qt::Tool | Qt::FramelessWindowHint), m_grid(grid), m_logic(grid.Data(), row, round),
      m_score(new QLineEdit(this)), m_mark(new QComboBox(this)), m_name(new QLineEdit(this)),
      m_list(new QListWidget(this)), m_spin(new ui::CArrowButtons(this)), m_note(new QLabel(this))
{
    setObjectName(QStringLiteral("resultPopup"));
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setFont(ResultPopupFont());
    // Everything on white, the editor itself and each control.
    QPalette pal = palette();
    for (QPalette::ColorRole role : {QPalette::Window, QPalette::Base, QPalette::Button, QPalette::AlternateBase})
        pal.setColor(role, QColor(GridPalette::kBackground));
    pal.setColor(QPalette::WindowText, QColor(GridPalette::kBorder));
    setPalette(pal);
    setAutoFillBackground(true);
    QPalette controls = pal;
    controls.setColor(QPalette::WindowText, QColor(GridPalette::kText));
    for (QWidget* w : std::initializer_list<QWidget*>{m_score, m_mark, m_name, m_list, m_spin})
        w->setPalette(controls);

    const CDialogUnits du(font());
    const int border = lineWidth();
    resize(du.X(kWidth) + 2 * border, du.Y(kHeight) + 2 * border);
    auto place = [&](QWidget* w, int x, int y, int cx, int cy) {
        w->setGeometry(du.Rect(x, y, cx, cy).translated(border, border));
    };
    m_score->setObjectName(QStringLiteral("scoreEdit"));
    place(m_score, 25, 1, 18, 14);
    m_mark->setObjectName(QStringLiteral("markBox"));
    m_mark->addItems(MarkTexts());
    // The closed selector is as high as the score field beside it; the
    // rest of its 52 units is the list it drops.
    place(m_mark, 1, 2, 23, 13);
    m_mark->setMaxVisibleItems(4);
    m_name->setObjectName(QStringLiteral("nameEdit"));
    place(m_name, 1, 16, 50, 14);
    m_list->setObjectName(QStringLiteral("candidateList"));
    place(m_list, 1, 32, 50, 54);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setFocusPolicy(Qt::ClickFocus); // no tab stop
    m_list->setUniformItemSizes(true);
    m_spin->setObjectName(QStringLiteral("spin"));
    const QRect spin = du.Rect(43, 1, 8, 14);
    m_spin->SetButtonSize(QSize(spin.width(), spin.height() / 2));
    m_spin->setGeometry(spin.translated(border, border));
    // The refusal note lies over the top of the candidate list, right under
    // the fields, and stays until the organiser changes something.
    m_note->setObjectName(QStringLiteral("scoreNote"));
    m_note->setWordWrap(true);
    m_note->setFrameStyle(QFrame::Box | QFrame::Plain);
    m_note->setAutoFillBackground(true);
    QPalette notePalette = controls;
    notePalette.setColor(QPalette::Window, QColor(0xff, 0xff, 0xe1));
    notePalette.setColor(QPalette::WindowText, QColor(0xb0, 0x00, 0x00));
    m_note->setPalette(notePalette);
    m_note->setGeometry(m_list->geometry());
    m_note->hide();
    setTabOrder(m_score, m_mark);
    setTabOrder(m_mark, m_name);
    m_firstFocus = m_score;

    connect(m_score, &QLineEdit::textChanged, this, &CResultPopup::OnScoreChanged);
    connect(m_name, &QLineEdit::textChanged, this, &CResultPopup::OnNameChanged);
    // A mark picked with the mouse or the selector's keys is the
    // organiser's word; programmatic changes are not.
    connect(m_mark, &QComboBox::activated, this, [this] {
        m_logic.ChooseMarkByHand();
        HideNote();
    });
    connect(m_list, &QListWidget::currentRowChanged, this, [this](int r) { m_logic.SetHighlighted(r); });
    connect(m_list, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { CommitLine(m_list->row(item)); });
    connect(m_spin, &ui::CArrowButtons::stepped, this, &CResultPopup::StepScore);
    for (QWidget* w : std::initializer_list<QWidget*>{m_score, m_mark, m_name, m_list})
        w->installEventFilter(this);
}

CResultPopup::~CResultPopup() = default;

void CResultPopup::Fill(const std::optional<QString>& typed, bool selectAll)
{
    std::optional<std::string> typedSjis;
    if (typed)
        typedSjis = ui::ToSjis(*typed);
    const CResultPopupLogic::Opening open = m_logic.Open(typedSjis);

    PutName(open.nameText, open.opponentOfCell);
    if (selectAll)
        m_name->selectAll();
    else
        m_name->end(false);
    // The stored score first (its sign sets the selector), then the stored
    // result, which has the last word over the mark the score suggested.
    m_score->setText(ui::ToQString(open.cellScoreText));
    m_mark->setCurrentIndex(open.cellEntry);
    if (open.typedScore) {
        m_score->setText(ui::ToQString(*open.typedScore));
        m_score->end(false);
    } else if (open.focus == CResultPopupLogic::Focus::Score) {
        m_score->selectAll();
    }
    m_firstFocus = open.focus == CResultPopupLogic::Focus::Name ? static_cast<QWidget*>(m_name) : m_score;
}

void CResultPopup::ShowAt(const QPoint& screenPos)
{
    move(screenPos);
    show();
    raise();
    activateWindow();
    m_firstFocus->setFocus(Qt::OtherFocusReason);
}

void CResultPopup::OnScoreChanged(const QString& text)
{
    HideNote();
    const int entry = m_logic.MarkAfterScoreChange(ui::ToSjis(text), m_mark->currentIndex());
    if (entry != m_mark->currentIndex())
        m_mark->setCurrentIndex(entry);
}

void CResultPopup::HideNote()
{
    m_note->hide();
    m_note->clear();
}

bool CResultPopup::AcceptScore(int opponent)
{
    const std::string score = ui::ToSjis(m_score->text());
    const std::string against =
        m_logic.OpponentRefusal(ui::ToSjis(m_name->text()), score, m_mark->currentIndex(), opponent);
    if (!against.empty()) {
        ShowNote(against, m_name);
        return false;
    }
    const std::string refusal = m_logic.Refusal(score, m_mark->currentIndex(), opponent);
    if (refusal.empty())
        return true;
    ShowNote(refusal, m_score);
    return false;
}

void CResultPopup::ShowNote(const std::string& sjis, QLineEdit* field)
{
    m_note->setText(ui::ToQString(sjis));
    const QRect area = m_list->geometry();
    m_note->setGeometry(area.x(), area.y(), area.width(),
                        std::min(area.height(), m_note->heightForWidth(area.width())));
    m_note->show();
    m_note->raise();
    field->setFocus(Qt::OtherFocusReason);
    field->selectAll();
}

void CResultPopup::StepScore(int delta)
{
    m_score->setText(ui::ToQString(StepScoreText(ui::ToSjis(m_score->text()), delta, m_logic.ShowDiscDifference())));
}

void CResultPopup::OnNameChanged(const QString& text)
{
    HideNote();
    m_logic.Search(ui::ToSjis(text));
    ShowList();
}

void CResultPopup::PutName(const std::string& sjis, std::optional<int> prefer)
{
    const QString text = ui::ToQString(sjis);
    if (m_name->text() != text)
        m_name->setText(text); // runs the search
    else
        OnNameChanged(text);
    // A name put in for a known player keeps that player highlighted even
    // when another candidate's name begins the same way and comes first;
    // otherwise Enter would quietly change the game's opponent.
    if (prefer) {
        m_logic.Prefer(*prefer);
        ShowList();
    }
}

void CResultPopup::ShowList()
{
    ShowEditorList(m_list, m_logic.Items(), m_logic.Highlighted());
}

bool CResultPopup::eventFilter(QObject* watched, QEvent* event)
{
    if (m_done)
        return QFrame::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (watched == m_name && key->key() == Qt::Key_Down && NoModifiers(key)) {
            m_list->setFocus(Qt::OtherFocusReason);
            m_logic.DownFromName();
            ShowList();
            return true;
        }
        if (watched == m_score && (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down) && NoModifiers(key)) {
            StepScore(key->key() == Qt::Key_Up ? +1 : -1);
            return true;
        }
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            Ok(watched);
            return true;
        }
        if (key->key() == Qt::Key_Escape) {
            Post(true);
            return true;
        }
    } else if (event->type() == QEvent::MouseButtonDblClick && watched == m_name) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && focusWidget() == m_name && m_name->text().isEmpty()) {
            m_logic.ListAll();
            ShowList();
            return true;
        }
    }
    return QFrame::eventFilter(watched, event);
}

void CResultPopup::Ok(QObject* focused)
{
    if (focused == m_list) {
        // Enter in the list only takes the line into the name field; the
        // next Enter commits.
        const int line = m_logic.Highlighted();
        if (line >= 0) {
            const EditorListItem item = m_logic.Items()[static_cast<size_t>(line)];
            PutName(item.text, item.data);
            m_name->end(false);
        }
        m_name->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (!AcceptScore(m_logic.HighlightedOpponent()))
        return;
    m_values = m_logic.Collect(ui::ToSjis(m_score->text()), m_mark->currentIndex());
    Post(false);
}

void CResultPopup::CommitLine(int line)
{
    if (m_done || line < 0 || line >= static_cast<int>(m_logic.Items().size()))
        return;
    const EditorListItem item = m_logic.Items()[static_cast<size_t>(line)];
    PutName(item.text, item.data);
    m_name->setFocus(Qt::OtherFocusReason);
    if (!AcceptScore(item.data))
        return;
    m_values = m_logic.Collect(ui::ToSjis(m_score->text()), m_mark->currentIndex());
    m_values.opponent = item.data;
    Post(false);
}

void CResultPopup::Post(bool cancel)
{
    m_done = true;
    m_grid.PostResultPopupDone(cancel);
}

} // namespace tabry::grid
