#include "grid/TabryView.h"

#include "core/TournamentData.h"
#include "edit/TournamentEditor.h"
#include "grid/GridPalette.h"
#include "grid/ResultGrid.h"
#include "widgets/TextCodec.h"

#include <QEvent>
#include <QPainter>

#include <algorithm>
#include <cstdio>

namespace tabry::grid {

CTabryView::CTabryView(CTournamentEditor& editor, QWidget* parent)
    : QWidget(parent), m_editor(editor), m_data(editor.Data())
{
    setObjectName(QStringLiteral("tabryView"));
    m_listener = m_editor.AddListener(ListenerRank::Views, [this](const ChangeEvent& event) {
        if (event.kind != ChangeKind::Reset && event.effects.resized && m_grid) {
            // The old grid stops at once; the new one is made once the call
            // that changed the size has returned, which may be one of the
            // old grid's own commands.
            m_grid->Detach();
            m_grid->hide();
            QMetaObject::invokeMethod(this, &CTabryView::RecreateGrid, Qt::QueuedConnection);
        }
        if (event.effects.details)
            UpdateTitle();
    });
}

CTabryView::~CTabryView()
{
    m_editor.RemoveListener(m_listener);
}

std::string CTabryView::TitleText(const TournamentData& tournament)
{
    const CTournamentInfo& info = tournament.info;
    std::string text = info.name;
    if (info.year > 0) {
        char date[48];
        std::snprintf(date, sizeof date, " @%d/%02d/%02d", info.year, info.month, info.day);
        text += date;
    }
    return text;
}

void CTabryView::OnInitialUpdate()
{
    m_startCell.reset();
    CreateGrid();
}

void CTabryView::RecreateGrid()
{
    if (m_grid)
        CreateGrid();
    m_startCell.reset();
}

void CTabryView::SetEnterMovesDown(bool down)
{
    m_enterMovesDown = down;
    if (m_grid)
        m_grid->SetEnterMovesDown(down);
}

void CTabryView::AddRow()
{
    const int rows = m_data.table.PlayerCount();
    if (m_editor.AddRow().resized)
        m_startCell = GridCell{0, rows};
}

CResultGrid* CTabryView::MakeGrid()
{
    return new CResultGrid(m_editor, this);
}

void CTabryView::CreateGrid()
{
    const bool hadFocus = m_grid && m_grid->hasFocus();
    if (m_grid) {
        // Gone at once, so no event can reach a grid whose table has changed.
        m_grid->Detach();
        m_grid->hide();
        delete m_grid.data();
    }
    m_grid = MakeGrid();
    m_grid->SetRandomGenerator(m_random);
    m_grid->SetEnterMovesDown(m_enterMovesDown);
    connect(m_grid, &CResultGrid::addRowRequested, this, &CTabryView::AddRow);
    if (m_startCell)
        m_grid->StartAt(*m_startCell);
    m_grid->setGeometry(0, kTitleHeight, width(), std::max(height() - kTitleHeight, 0));
    m_grid->raise();
    m_grid->show();
    if (hadFocus || isActiveWindow())
        m_grid->setFocus(Qt::OtherFocusReason);
    emit gridCreated(m_grid);
}

void CTabryView::UpdateTitle()
{
    update(QRect(0, 0, width(), kTitleHeight));
}

void CTabryView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(QRect(0, 0, width(), kTitleHeight), palette().window());
    p.setFont(TitleFont());
    p.setPen(Qt::black);
    p.setBackgroundMode(Qt::TransparentMode);
    p.drawText(QRect(0, 0, width(), kTitleHeight), Qt::AlignCenter | Qt::TextSingleLine,
               ui::ToQString(TitleText(m_data)));
}

void CTabryView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (m_grid)
        m_grid->setGeometry(0, kTitleHeight, width(), std::max(height() - kTitleHeight, 0));
}

bool CTabryView::event(QEvent* event)
{
    // Clicking back into the main window while an editor is open cancels
    // the editor (unless it is registering a new player).
    if (event->type() == QEvent::WindowActivate && m_grid)
        m_grid->RequestPopupClose();
    return QWidget::event(event);
}

} // namespace tabry::grid
