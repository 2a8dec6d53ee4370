#include "grid/EditorList.h"

#include "widgets/TextCodec.h"

#include <QListWidget>
#include <QSignalBlocker>

namespace tabry::grid {

void ShowEditorList(QListWidget* list, const std::vector<EditorListItem>& items, int highlighted)
{
    const QSignalBlocker block(list);
    list->clear();
    for (const EditorListItem& item : items) {
        auto* line = new QListWidgetItem(ui::ToQString(item.text), list);
        line->setData(Qt::UserRole, item.data);
    }
    list->setCurrentRow(highlighted);
    if (highlighted >= 0)
        list->scrollToItem(list->item(highlighted));
}

} // namespace tabry::grid
