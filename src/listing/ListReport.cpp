#include "listing/ListReport.h"

#include "core/Error.h"
#include "core/Formats.h"
#include "data/dataset/Dataset.h"
#include "listing/ListColumns.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>

namespace {

const QString kContinued = QStringLiteral("> > >");

struct Column {
    const Field* field;
    double x;
    double width;
};

}  // namespace

ListReport::ListReport(const Dataset& dataset, const QString& title, const QFont& font)
    : dataset_(dataset), title_(title), font_(font)
{
}

void ListReport::setPageRange(int first, int last)
{
    firstPage_ = first;
    lastPage_ = last;
}

bool ListReport::print(QPagedPaintDevice& device)
{
    QPainter p;
    if (!p.begin(&device))
        throw ZtfiError(QStringLiteral("Tiskanje ni mogoče začeti."));
    const double unit = device.logicalDpiY() / 600.0;
    const double left = 20 * unit;
    const double right = device.width() - 20 * unit;
    const double top = 50 * unit;
    const double bottom = device.height() - 200 * unit;
    const double gap = 5 * unit;

    QFont data = font_;
    data.setBold(true);
    QFont italic = font_;
    italic.setItalic(true);
    italic.setBold(false);
    QFont titleFont = font_;
    titleFont.setBold(true);
    titleFont.setPointSizeF(font_.pointSizeF() * 1.5);
    // Metrics of the device, not of the screen.
    const QFontMetricsF metrics(data, &device);
    const double charWidth = averageCapitalWidth(metrics);
    const double lineHeight = metrics.boundingRect(QStringLiteral("p^{}[]yq$")).height();
    const double rowHeight = lineHeight + gap;

    // Columns stand one average capital apart, with the grid line in the middle of the gap.
    const double columnGap = charWidth;
    QList<Column> columns;
    double x = left + columnGap / 2;
    for (const Field* field : listColumns(dataset_)) {
        if (x >= right - columnGap / 2)
            break;
        const double width = std::min(field->displayWidth() * charWidth, right - columnGap / 2 - x);
        columns.append({field, x, width});
        x += width + columnGap;
    }
    const double tableRight = columns.isEmpty() ? left : columns.last().x + columns.last().width + columnGap / 2;

    const QString printedAt = [this] {
        const QDateTime at = printedAt_.isValid() ? printedAt_ : QDateTime::currentDateTime();
        return Formats::dateText(at.date()) + u' ' + Formats::timeText(at.time());
    }();

    int page = 0;
    bool drawing = false;
    bool anyDrawn = false;
    double y = 0;
    double tableTop = 0;

    const auto closeTable = [&] {
        if (!drawing)
            return;
        p.setPen(QPen(Qt::black, unit * 2));
        p.drawRect(QRectF(left, tableTop, tableRight - left, y - tableTop));
        for (qsizetype i = 1; i < columns.size(); ++i)
            p.drawLine(QPointF(columns[i].x - columnGap / 2, tableTop), QPointF(columns[i].x - columnGap / 2, y));
    };
    const auto startPage = [&](bool continued) {
        ++page;
        drawing = page >= firstPage_ && page <= lastPage_;
        y = top;
        if (!drawing)
            return;
        if (anyDrawn)
            device.newPage();
        anyDrawn = true;
        p.setFont(italic);
        const QString header = u' ' + printedAt + QStringLiteral(", Stran ") + QString::number(page);
        p.drawText(QRectF(left, y, right - left, lineHeight), Qt::AlignRight | Qt::AlignTop, header);
        if (continued) {
            p.setFont(data);
            p.drawText(QRectF(left, y, right - left, lineHeight), Qt::AlignLeft | Qt::AlignTop, kContinued);
        }
        y += lineHeight + gap;
        p.setFont(titleFont);
        const QRectF titleRect = p.boundingRect(QRectF(left, y, right - left, 1e7),
                                                Qt::TextWordWrap | Qt::AlignLeft, title_);
        p.drawText(titleRect, Qt::TextWordWrap | Qt::AlignLeft, title_);
        y += (title_.isEmpty() ? 0 : titleRect.height()) + 2 * gap;

        p.setFont(italic);
        double titleHeight = lineHeight;
        for (const Column& c : columns) {
            const QRectF r = p.boundingRect(QRectF(c.x, y, c.width, 1e7), Qt::TextWordWrap,
                                            c.field->displayLabel());
            titleHeight = std::max(titleHeight, r.height());
        }
        tableTop = y;
        y += gap / 2;
        for (const Column& c : columns)
            p.drawText(QRectF(c.x, y, c.width, titleHeight), Qt::TextWordWrap | (c.field->alignment() & Qt::AlignHorizontal_Mask),
                       c.field->displayLabel());
        y += titleHeight + gap / 2;
        p.setPen(QPen(Qt::black, unit * 2));
        p.drawLine(QPointF(left, y), QPointF(tableRight, y));
        p.setFont(data);
    };

    startPage(false);
    const int total = dataset_.recordCount();
    for (int row = 0; row < total && page <= lastPage_; ++row) {
        if (y + rowHeight > bottom) {
            closeTable();
            if (drawing) {
                p.setFont(data);
                p.drawText(QRectF(left, bottom, right - left, lineHeight), Qt::AlignRight | Qt::AlignTop, kContinued);
            }
            startPage(true);
            if (page > lastPage_)
                break;
        }
        if (drawing) {
            for (const Column& c : columns) {
                const QString text = c.field->name() == QLatin1String("#")
                                         ? QString::number(row + 1)
                                         : c.field->displayTextOf(dataset_.valueAt(row, *c.field));
                const QRectF cell(c.x, y + gap / 2, c.width, lineHeight);
                p.save();
                p.setClipRect(cell);
                p.drawText(cell, (c.field->alignment() & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter, text);
                p.restore();
            }
        }
        y += rowHeight;
        if (progress_ && !progress_(row + 1, total)) {
            p.end();
            pages_ = page;
            return false;
        }
    }
    closeTable();
    pages_ = std::min(page, lastPage_);
    p.end();
    return true;
}
