#pragma once

#include <QFont>
#include <QString>

class Dataset;
class QWidget;

// The print, export and copy services of a grid, with their dialogs and progress windows.
namespace ListPrinting {

// The print dialog (pages 1 to 999, all by default; printing to a file proposes
// proposedPdfPath(title)), then the list report on the printer with the progress window
// "Print"; cancelling aborts the print job. A PDF file is written whole or not at all.
void print(QWidget* parent, const Dataset& dataset, const QString& title, const QFont& font);

// The PDF file a list printed to a file is proposed as: the title as a file name (characters
// that a name cannot hold replaced by "_", "Seznam" for none) with ".pdf", in the program folder
// when it can be written, else in the user's documents folder.
QString proposedPdfPath(const QString& title);

// The save dialog of the export; the chosen type writes the visible columns with the progress
// window "Export". Without a choice nothing happens.
void exportList(QWidget* parent, const Dataset& dataset);

// The list as text on the clipboard (ClipboardText) with the progress window "Copy to
// clipboard"; cancelling leaves the clipboard as it was. Returns whether the text was copied.
bool copyToClipboard(QWidget* parent, const Dataset& dataset, const QString& caption);

// The filter of the export's save dialog.
QString exportFilter();

}  // namespace ListPrinting
