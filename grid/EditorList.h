#pragma once
// The list under an editor's name field, shared by the player and the result
// editor: the lines of the current search with their item data.

#include "grid/EditorSearch.h"

#include <vector>

class QListWidget;

namespace tabry::grid {

// Replaces the list's lines with `items` (text and item data, without
// emitting change signals) and highlights and shows line `highlighted`
// (none when negative).
void ShowEditorList(QListWidget* list, const std::vector<EditorListItem>& items, int highlighted);

} // namespace tabry::grid
