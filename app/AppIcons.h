#pragma once
// The program's icons, drawn in code so the program needs no image files:
// the main icon, the document icon of ".stg" files, and the tool bar's.

#include <QIcon>
#include <QImage>

namespace tabry::app {

enum class ToolIcon { New, Open, Save, TextReport, CsvReport, HtmlReport, DeleteCell, Sort, About, Undo, Redo };

QIcon AppIcon();
QIcon DocumentIcon();
QIcon ToolBarIcon(ToolIcon which);

// Square images of the two icons, for the desktop's icon folders.
QImage AppIconImage(int size);
QImage DocumentIconImage(int size);

} // namespace tabry::app
