#pragma once

#include <QString>

#include <functional>

class Dataset;

// The export of a dataset's visible columns into a new table file:
//   dBase (.dbf, through shapelib): text as C of the field's size, whole numbers N(20), other
//     numbers N(20,6), dates D, truth values L, times ("09:23:48") and date-times
//     ("07.12.2026 09:23:48") as C(19) text; texts in Windows-1250 (language driver 200);
//   Paradox (.db, through pxlib): alpha, short, long, number, date, time, timestamp, logical;
//     texts in Windows-1250 (code page 1250);
//   fixed-length text (.txt): one line per record (CR LF), every field padded to its size
//     (numbers to the right), in Windows-1250, so every line has the same number of bytes (a
//     character outside the code page becomes "?", a control character a blank).
// Every record from the first is written; progress (rows done) may return false to stop, which
// leaves the table as far as written. The file is written through an AtomicFile: it takes its
// name only when whole, and a failure leaves no partial file and a file of the name as it was.
// Errors are ZtfiError with the file's name and the reason.
namespace ListExport {

using Progress = std::function<bool(int done, int total)>;

void writeDbf(const Dataset& dataset, const QString& path, const Progress& progress = {});
void writeParadox(const Dataset& dataset, const QString& path, const Progress& progress = {});
void writeText(const Dataset& dataset, const QString& path, const Progress& progress = {});

}  // namespace ListExport
