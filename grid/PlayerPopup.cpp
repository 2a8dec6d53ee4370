#include "grid/PlayerPopup.h"

#include "core/TournamentData.h"
#include "grid/DialogUnits.h"
#include "grid/EditorList.h"
#include "grid/GridPalette.h"
#include "grid/ResultGrid.h"
#include "playerdb/ui/UserCommands.h"
#include "widgets/Prompt.h"
#include "widgets/TextCodec.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>

namespace tabry::grid {

namespace {

// The layout in dialog units: the whole editor, then the two controls.
constexpr int kWidth = 62;
constexpr int kHeight = 73;

} // namespace

CPlayerPopup::CPlayerPopup(CResultGrid& grid, int row)
    : QFrame(&grid, Qt::Tool | Qt::FramelessWindowHint), m_grid(grid), m_logic(grid.Data(), row),
      m_name(new QLineEdit(this)), m_list(new QListWidget(this))
{
    setObjectName(QStringLiteral("playerPopup"));
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setFont(PlayerPopupFont());
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, QColor(GridPalette::kBorder));
    setPalette(pal);

    const CDialogUnits du(font());
    const int border = lineWidth();
    resize(du.X(kWidth) + 2 * border, du.Y(kHeight) + 2 * border);
    m_name->setObjectName(QStringLiteral("nameEdit"));
    m_name->setGeometry(du.Rect(0, 0, 62, 12).translated(border, border));
    m_list->setObjectName(QStringLiteral("matchList"));
    m_list->setGeometry(du.Rect(0, 12, 62, 60).translated(border, border));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setUniformItemSizes(true);
    setTabOrder(m_name, m_list);

    connect(m_name, &QLineEdit::textChanged, this, &CPlayerPopup::OnNameChanged);
    connect(m_list, &QListWidget::currentRowChanged, this, &CPlayerPopup::OnListRowChanged);
    connect(m_list, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { OnListDoubleClicked(m_list->row(item)); });
    m_name->installEventFilter(this);
    m_list->installEventFilter(this);
}

CPlayerPopup::~CPlayerPopup() = default;

void CPlayerPopup::SetInitialText(const QString& text, bool selectAll)
{
    m_name->setText(text);
    if (selectAll)
        m_name->selectAll();
    else
        m_name->end(false);
}

void CPlayerPopup::ShowAt(const QPoint& screenPos)
{
    move(screenPos);
    show();
    raise();
    activateWindow();
    m_name->setFocus(Qt::OtherFocusReason);
}

void CPlayerPopup::OnNameChanged(const QString& text)
{
    m_logic.Search(ui::ToSjis(text));
    ShowList();
}

void CPlayerPopup::OnListRowChanged(int row)
{
    m_logic.SetHighlighted(row);
}

void CPlayerPopup::ShowList()
{
    ShowEditorList(m_list, m_logic.Items(), m_logic.Highlighted());
}

void CPlayerPopup::PutName(const std::string& sjis)
{
    // Runs the search again; the record already taken stays chosen.
    m_name->setText(ui::ToQString(sjis));
}

bool CPlayerPopup::eventFilter(QObject* watched, QEvent* event)
{
    if (m_done)
        return QFrame::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool plain = !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
        if (watched == m_name && key->key() == Qt::Key_Down && plain) {
            m_list->setFocus(Qt::OtherFocusReason);
            m_logic.DownFromName();
            ShowList();
            return true;
        }
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            Ok();
            return true;
        }
        if (key->key() == Qt::Key_Escape) {
            Cancel();
            return true;
        }
    } else if (event->type() == QEvent::MouseButtonDblClick && watched == m_name) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && focusWidget() == m_name && m_name->text().isEmpty()) {
            m_logic.ListUnentered();
            ShowList();
            return true;
        }
    }
    return QFrame::eventFilter(watched, event);
}

void CPlayerPopup::OnListDoubleClicked(int row)
{
    if (!m_done)
        Carry(m_logic.DoubleClick(row));
}

void CPlayerPopup::Ok()
{
    Carry(m_logic.Ok(ui::ToSjis(m_name->text())));
}

void CPlayerPopup::Cancel()
{
    Carry(m_logic.Cancel());
}

void CPlayerPopup::Carry(const CPlayerPopupLogic::Outcome& outcome)
{
    if (outcome.fieldText)
        PutName(*outcome.fieldText);
    switch (outcome.kind) {
    case CPlayerPopupLogic::Outcome::Commit:
    case CPlayerPopupLogic::Outcome::Cancel:
        m_done = true;
        m_grid.PostPlayerPopupDone(outcome.kind == CPlayerPopupLogic::Outcome::Cancel);
        break;
    case CPlayerPopupLogic::Outcome::Duplicate: {
        QPointer<CPlayerPopup> self(this);
        m_messageOpen = true;
        ui::Prompt().Error(this, ui::ToQString(outcome.message));
        if (!self)
            return;
        m_messageOpen = false;
        m_name->setFocus(Qt::OtherFocusReason);
        m_name->setSelection(0, static_cast<int>(m_name->text().size()));
        break;
    }
    case CPlayerPopupLogic::Outcome::Register:
        Register(outcome.typed);
        break;
    case CPlayerPopupLogic::Outcome::Nothing:
        break;
    }
}

void CPlayerPopup::Register(const std::string& typed)
{
    QPointer<CPlayerPopup> self(this);
    m_registering = true;
    const int record = RunRegisterTypedNameDialog(this, m_grid.Editor(), typed);
    if (!self)
        return;
    m_registering = false;
    const CPlayerPopupLogic::Outcome outcome = m_logic.Registered(record);
    if (outcome.kind == CPlayerPopupLogic::Outcome::Commit) {
        Carry(outcome);
    } else {
        // Cancelled: the typed text stays for another try.
        activateWindow();
        m_name->setFocus(Qt::OtherFocusReason);
    }
}

} // namespace tabry::grid
