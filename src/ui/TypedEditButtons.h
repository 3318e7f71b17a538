#pragma once

class TPTypedEdit;
class QToolButton;

// The two side buttons of the focused typed edit, shared by all edits: the picker button
// ("btnTypedEditPicker", glyph by the edit's type) and the clear button ("btnTypedEditClear"),
// placed on the edit's parent right of the edit with its top and height while it has the focus.
namespace TypedEditButtons {

void attach(TPTypedEdit* edit);
void detach(TPTypedEdit* edit);
// The buttons, for tests; null before the first attach.
QToolButton* pickerButton();
QToolButton* clearButton();

}  // namespace TypedEditButtons
