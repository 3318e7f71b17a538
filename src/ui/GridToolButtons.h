#pragma once

class QHBoxLayout;
class QToolButton;
class TFwwDBGrid;

// The eleven tool buttons that all grids share: flat, 18 x 18 pixels, named "btnGrid" + the
// name of their glyph ("btnGridMSB_ZOOM", ...) and shown in this order: zoom, view, print,
// print group, locate, refresh, sort, title word wrap, graph, copy to clipboard, export. A grid
// places them in its tool row, each enabled by its member of the grid's gridButtons.
namespace GridToolButtons {

void placeOn(TFwwDBGrid* grid, QHBoxLayout* row);
// Takes the buttons back from the grid (when it has them).
void release(TFwwDBGrid* grid);
// Runs an action of the grid; an error it raises is shown in a message box.
void run(TFwwDBGrid* grid, void (TFwwDBGrid::*action)());
// The grid that has the buttons; nullptr when none.
TFwwDBGrid* owner();
// A button by its glyph name, for tests; nullptr before the first use.
QToolButton* button(const char* glyph);

}  // namespace GridToolButtons
