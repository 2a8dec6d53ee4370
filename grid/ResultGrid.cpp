#include "grid/ResultGrid.h"

#include "core/TournamentData.h"
#include "edit/TournamentEditor.h"
#include "grid/GridPalette.h"
#include "pairing/RandomGenerator.h"

#include <QResizeEvent>
#include <QScrollBar>

#include <algorithm>
#include <cstdlib>

namespace tabry::grid {

namespace {

QRect ToQRect(const GridRect& r)
{
    return {r.left, r.top, r.Width(), r.Height()};
}

ScrollRequest RequestOfAction(int action, bool& known)
{
    known = true;
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
        return ScrollRequest::LineForward;
    case QAbstractSlider::SliderSingleStepSub:
        return ScrollRequest::LineBack;
    case QAbstractSlider::SliderPageStepAdd:
        return ScrollRequest::PageForward;
    case QAbstractSlider::SliderPageStepSub:
        return ScrollRequest::PageBack;
    case QAbstractSlider::SliderMove:
    case QAbstractSlider::SliderToMinimum:
    case QAbstractSlider::SliderToMaximum:
        return ScrollRequest::ThumbTrack;
    default:
        known = false;
        return ScrollRequest::EndScroll;
    }
}

} // namespace

CResultGrid::CResultGrid(CTournamentEditor& editor, QWidget* parent)
    : QAbstractScrollArea(parent), m_editor(editor), m_data(editor.Data()), m_nav(*this)
{
    setObjectName(QStringLiteral("resultGrid"));
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setFocusPolicy(Qt::StrongFocus);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(GridPalette::kBackground));
    pal.setColor(QPalette::Base, QColor(GridPalette::kBackground));
    setPalette(pal);
    // Every pixel is painted: no background fill first.
    viewport()->setAutoFillBackground(false);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setFocusProxy(this);
    viewport()->setMouseTracking(false);

    m_nav.SetTable(m_data.table.PlayerCount(), m_data.table.RoundCount());

    QScrollBar* v = verticalScrollBar();
    QScrollBar* h = horizontalScrollBar();
    v->setSingleStep(1);
    h->setSingleStep(1);
    connect(v, &QAbstractSlider::actionTriggered, this, &CResultGrid::OnVerticalAction);
    connect(h, &QAbstractSlider::actionTriggered, this, &CResultGrid::OnHorizontalAction);
    connect(v, &QAbstractSlider::sliderReleased, this, [this] { m_nav.ScrollVertical(ScrollRequest::EndScroll); });
    connect(h, &QAbstractSlider::sliderReleased, this, [this] { m_nav.ScrollHorizontal(ScrollRequest::EndScroll); });
    m_listener =
        m_editor.AddListener(ListenerRank::Views, [this](const ChangeEvent& event) { OnTournamentChanged(event); });
}

CResultGrid::~CResultGrid()
{
    Detach();
}

void CResultGrid::Detach()
{
    if (!m_detached)
        m_editor.RemoveListener(m_listener);
    m_detached = true;
}

// ---- window ---------------------------------------------------------------

void CResultGrid::EnsureInitialised()
{
    if (m_nav.IsInitialised())
        return;
    const QSize size = viewport()->size();
    m_nav.Initialise(size.width(), size.height());
    if (m_startCell && size.width() > 0)
        StartAt(*m_startCell);
}

void CResultGrid::StartAt(GridCell cell)
{
    m_startCell = cell;
    if (!m_nav.IsInitialised() || m_nav.Layout().Width() <= 0)
        return;
    m_startCell.reset();
    const CGridLayout& layout = m_nav.Layout();
    SelectCell(std::clamp(cell.col, 0, layout.Rounds()), std::clamp(cell.row, 0, layout.Players() - 1));
}

void CResultGrid::SetWaitingCells(std::vector<std::pair<int, int>> cells)
{
    if (cells == m_waiting)
        return;
    // Both the cells that lose their mark and those that get one.
    const CGridLayout& layout = m_nav.Layout();
    auto invalidate = [&](const std::vector<std::pair<int, int>>& list) {
        for (const auto& [row, round] : list) {
            if (row >= 0 && row < layout.Players() && round >= 0 && round < layout.Rounds())
                InvalidateCell(round + 1, row);
        }
    };
    invalidate(m_waiting);
    m_waiting = std::move(cells);
    invalidate(m_waiting);
}

bool CResultGrid::IsWaiting(int row, int round) const
{
    return std::find(m_waiting.begin(), m_waiting.end(), std::pair{row, round}) != m_waiting.end();
}

void CResultGrid::showEvent(QShowEvent* event)
{
    QAbstractScrollArea::showEvent(event);
    EnsureInitialised();
}

void CResultGrid::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    if (!m_nav.IsInitialised()) {
        if (isVisible())
            EnsureInitialised();
        return;
    }
    // Both the frame's and the viewport's resize arrive here; act once.
    const QSize size = viewport()->size();
    const CGridLayout& layout = m_nav.Layout();
    if (size.width() == layout.Width() && size.height() == layout.Height())
        return;
    m_nav.Resize(size.width(), size.height());
    if (m_startCell)
        StartAt(*m_startCell);
}

void CResultGrid::scrollContentsBy(int, int)
{
    // The scroll position is the navigator's; the bars only report requests.
}

bool CResultGrid::focusNextPrevChild(bool)
{
    // Tab moves the current cell, not the keyboard focus.
    return false;
}

// ---- IGridSurface -----------------------------------------------------------

void CResultGrid::Invalidate(const GridRect& rect)
{
    if (!rect.IsEmpty())
        viewport()->update(ToQRect(rect));
}

void CResultGrid::ScrollPixels(const GridRect& area, int dx, int dy)
{
    if (area.IsEmpty())
        return;
    const QRect r = ToQRect(area);
    if (std::abs(dx) >= r.width() || std::abs(dy) >= r.height())
        viewport()->update(r); // nothing of the old picture stays in view
    else
        viewport()->scroll(dx, dy, r);
}

void CResultGrid::SetVerticalBar(int maximum, int page, int position)
{
    QScrollBar* bar = verticalScrollBar();
    const QSignalBlocker block(bar);
    bar->setRange(0, maximum);
    bar->setPageStep(std::max(page, 1));
    bar->setValue(position);
    // A table that fits has nothing to scroll: the bar stays but is disabled.
    bar->setEnabled(maximum > 0 && page <= maximum);
}

void CResultGrid::SetHorizontalBar(int maximum, int page, int position)
{
    QScrollBar* bar = horizontalScrollBar();
    const QSignalBlocker block(bar);
    bar->setRange(0, maximum);
    bar->setPageStep(std::max(page, 1));
    bar->setValue(position);
    bar->setEnabled(maximum > 0 && page <= maximum);
}

void CResultGrid::SetVerticalPosition(int position)
{
    QScrollBar* bar = verticalScrollBar();
    // Within the bar's own action only the slider may be moved; the bar then
    // takes that position as its value.
    if (m_barAction != 0) {
        bar->setSliderPosition(position);
    } else {
        const QSignalBlocker block(bar);
        bar->setValue(position);
    }
}

void CResultGrid::SetHorizontalPosition(int position)
{
    QScrollBar* bar = horizontalScrollBar();
    if (m_barAction != 0) {
        bar->setSliderPosition(position);
    } else {
        const QSignalBlocker block(bar);
        bar->setValue(position);
    }
}

void CResultGrid::OnVerticalAction(int action)
{
    bool known = false;
    const ScrollRequest request = RequestOfAction(action, known);
    if (!known)
        return;
    ++m_barAction;
    m_nav.ScrollVertical(request, verticalScrollBar()->sliderPosition());
    --m_barAction;
}

void CResultGrid::OnHorizontalAction(int action)
{
    bool known = false;
    const ScrollRequest request = RequestOfAction(action, known);
    if (!known)
        return;
    ++m_barAction;
    m_nav.ScrollHorizontal(request, horizontalScrollBar()->sliderPosition());
    --m_barAction;
}

// ---- navigation -------------------------------------------------------------

void CResultGrid::SelectCell(int col, int row)
{
    m_nav.SelectCell(col, row);
    emit selectionChanged();
}

void CResultGrid::SelectColumn(int col)
{
    m_nav.SelectColumn(col);
    emit selectionChanged();
}

void CResultGrid::ClearColumnSelection()
{
    m_nav.ClearColumnSelection();
    emit selectionChanged();
}

} // namespace tabry::grid
