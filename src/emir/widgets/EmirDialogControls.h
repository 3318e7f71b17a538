#pragma once

#include <QDate>
#include <QString>

class Interaction;
class QDialogButtonBox;
class QPushButton;
class QWidget;
class TPTypedEdit;

// The controls of the EMIR dialogs under their object names.
namespace EmirDialogControls {

// Each edit sits on the panel that keeps the room of its side buttons: lay out
// edit->parentWidget().
// Date edits shown "dd.mm.yyyy", starting empty.
TPTypedEdit* dateEdit(QWidget* parent, const char* objectName);
// Integer edits shown "0".
TPTypedEdit* integerEdit(QWidget* parent, const char* objectName);
// Number edits shown ",0.00".
TPTypedEdit* floatEdit(QWidget* parent, const char* objectName);
QPushButton* button(QDialogButtonBox* box, const char* objectName, const QString& caption);
// A value typed wrongly into an edit of the dialog is shown as an error.
void reportConversionFailures(QWidget* dialog, Interaction& ui);
// The date of a date edit; an empty edit, and day zero (what an impossible date such as
// 31.02.2026 is read as), is no date.
QDate dateOf(const TPTypedEdit* edit);
// Commits the typed text of every edit of the dialog; false when one was not a valid value
// (that edit keeps the focus).
bool commitAll(QWidget* dialog);

}  // namespace EmirDialogControls
