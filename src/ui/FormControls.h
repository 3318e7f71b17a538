#pragma once

#include <QString>

class QLabel;
class QPushButton;
class QWidget;
class TFwwDBGrid;
class TPTypedEdit;

// Creation of the main window's controls under their object names, captions and hints.
namespace FormControls {

QPushButton* button(QWidget* parent, const char* objectName, const QString& caption,
                    const QString& hint = QString());
QLabel* label(QWidget* parent, const char* objectName, const QString& caption);
QLabel* boldLabel(QWidget* parent, const char* objectName, const QString& caption);
// A date edit on the panel that keeps the room of its side buttons: the caller lays out
// edit->parentWidget().
TPTypedEdit* dateEdit(QWidget* parent, const char* objectName);
// A grid on its own panel; panel and caption label are named "pnl" and "lbl" + the grid's name
// without its prefix "dbg" or "db". The caller lays out grid->parentWidget().
// The caption titles the list on paper and in the clipboard; the caption label shows it above
// the grid unless the window shows it already (captionShown false).
TFwwDBGrid* grid(QWidget* parent, const char* objectName, const QString& caption, bool captionShown = true);

}  // namespace FormControls
