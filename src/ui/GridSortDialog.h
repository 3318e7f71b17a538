#pragma once

class TFwwDBGrid;

// The sort dialog "Sort" of a grid. Over a table: its indexes (the display labels of their
// fields joined by ", ", the index of the current sort fields chosen) and then the grid's sort
// items; the choice becomes the table's sort fields. Over any other dataset: the sort items;
// the choice becomes the grid's current sort item (customSort).
namespace GridSortDialog {

void run(TFwwDBGrid* grid);

}  // namespace GridSortDialog
