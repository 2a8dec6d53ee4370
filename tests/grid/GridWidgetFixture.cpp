#include "tests/grid/GridWidgetFixture.h"

#include <QApplication>
#include <QScrollBar>

namespace tabry::test {

std::unique_ptr<TestGrid> ShowGrid(CTournamentEditor& editor, int width, int height)
{
    auto grid = std::make_unique<TestGrid>(editor);
    grid->resize(width + 100, height + 100);
    grid->show();
    QApplication::processEvents();
    // Grow or shrink the frame until the viewport has the wanted size.
    const QSize extra = grid->size() - grid->viewport()->size();
    grid->resize(width + extra.width(), height + extra.height());
    QApplication::processEvents();
    return grid;
}

QImage Shot(grid::CResultGrid& grid)
{
    return grid.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace tabry::test
