#pragma once

class TPTypedEdit;
class QToolButton;
class QWidget;

// The two side buttons of the focused typed edit, shared by all edits: the picker button
// ("btnTypedEditPicker", glyph by the edit's type) and the clear button ("btnTypedEditClear"),
// placed on the edit's parent right of the edit with its top and height while it has the focus.
namespace TypedEditButtons {

// Puts the edit on a panel of its own ("<edit's name>Room") that keeps, right of the edit, the
// room of the two buttons, so that they cover no other control; lay out the panel instead.
QWidget* reserveRoom(TPTypedEdit* edit);
void attach(TPTypedEdit* edit);
void detach(TPTypedEdit* edit);
// The buttons, for tests; null before the first attach.
QToolButton* pickerButton();
QToolButton* clearButton();

}  // namespace TypedEditButtons
