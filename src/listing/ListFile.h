#pragma once

#include <QFont>
#include <QString>

#include <functional>
#include <optional>

class Dataset;
class ListReport;
class QPageLayout;

// A dataset's list written to a file by the file's extension (any case): ".pdf" the list
// report (ListReport) on A4 pages, ".dbf", ".db" and ".txt" the exports (ListExport). Each is
// written through an AtomicFile, so a failure leaves no partial file and an existing file
// untouched.
namespace ListFile {

enum class Type { Pdf, Dbf, Paradox, Text };

// nullopt for an extension that is none of the four.
std::optional<Type> typeOf(const QString& path);

// Throws ZtfiError for an unknown extension ("Neznana vrsta datoteke ...") and for a file that
// cannot be written (with the reason). progress, when set, is told the rows done of all after
// each row (its answer is not asked: the list is written whole).
void write(const Dataset& dataset, const QString& title, const QString& path, const QFont& font,
           const std::function<void(int done, int total)>& progress = {});

// The list report as a PDF file at path (600 dpi, the given pages), through an AtomicFile;
// false, and no file, when the report's progress cancelled it. Throws FileWriteError.
bool writePdf(ListReport& report, const QString& title, const QString& path, const QPageLayout& layout);

// The font of lists without a window: "Arial CE" (or the fallback of the system), 8 points.
QFont defaultFont();

}  // namespace ListFile
