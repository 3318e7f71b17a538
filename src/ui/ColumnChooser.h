#pragma once

class Dataset;
class QWidget;

// The column chooser of a grid: the visible fields in their order, then the hidden ones, each by
// its display label, ticked when visible and ordered by dragging. On OK the ticked fields take
// positions 0, 1, 2, ... in the chosen order and become visible, the others follow hidden.
// Returns true when the fields changed.
namespace ColumnChooser {

bool choose(QWidget* parent, Dataset& dataset);

}  // namespace ColumnChooser
