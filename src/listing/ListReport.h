#pragma once

#include <QDateTime>
#include <QFont>
#include <QString>

#include <functional>

class Dataset;
class QPagedPaintDevice;
class QPainter;

// The list report of a dataset: its visible columns as a paged table, drawn with a painter on a
// printer or a PDF writer. Every page starts with the header line at the top right in italics
// (" <date time>, Stran N") and the title in bold at 1.5 times the font size, word-wrapped;
// then the column titles (italic, word-wrapped display labels) and the rows in bold. A column is
// as wide as its field's display width in characters of the font (the average width of the
// capitals), the columns one such character apart inside a grid of lines, aligned by the field;
// columns beyond the right margin are left out, the last one cut at it; a field named "#"
// prints the row number. A row that does not fit above the bottom margin ends the page with
// "> > >" at the bottom right and the next page begins with "> > >" at the top left.
//
// Units are those of a 600 dpi printer (margins 20 left and right, 50 top, 200 bottom, line gap
// 5), scaled to the device's resolution. Only pages within the page range are drawn.
class ListReport {
public:
    ListReport(const Dataset& dataset, const QString& title, const QFont& font);

    void setPageRange(int first, int last);
    // The time that the header lines show (default: when the report is drawn).
    void setPrintedAt(const QDateTime& at) { printedAt_ = at; }
    // Called after every row with the rows done; returning false cancels the report.
    void setProgress(std::function<bool(int done, int total)> progress) { progress_ = std::move(progress); }

    // Draws the report; false when cancelled. The number of pages (also those out of the
    // range) is pageCount() afterwards.
    bool print(QPagedPaintDevice& device);
    int pageCount() const { return pages_; }

private:
    const Dataset& dataset_;
    QString title_;
    QFont font_;
    int firstPage_ = 1;
    int lastPage_ = 999;
    QDateTime printedAt_;
    std::function<bool(int, int)> progress_;
    int pages_ = 0;
};
