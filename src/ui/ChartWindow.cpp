#include "ui/ChartWindow.h"

#include "data/dataset/Dataset.h"
#include "listing/ListColumns.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QHash>
#include <QValueAxis>

QWidget* ChartWindow::open(QWidget* parent, const Dataset& dataset, const QString& title)
{
    const QList<Field*> columns = listColumns(dataset);
    auto* chart = new QChart;
    chart->setTitle(title);
    chart->legend()->hide();
    if (columns.size() >= 2) {
        const Field& names = *columns[0];
        const Field& values = *columns[1];
        auto* set = new QBarSet(values.displayLabel());
        QStringList categories;
        QHash<QString, int> seen;
        for (int row = 0; row < dataset.recordCount(); ++row) {
            // A bar per row: a name that repeats is told apart by its count, since the axis
            // would merge equal names and the values would slip under other names.
            const QString name = names.displayTextOf(dataset.valueAt(row, names));
            const int count = ++seen[name];
            categories << (count == 1 ? name : QStringLiteral("%1 (%2)").arg(name).arg(count));
            const QVariant v = dataset.valueAt(row, values);
            bool ok = false;
            const double number = v.toDouble(&ok);
            *set << (ok ? number : 0.0);
        }
        auto* series = new QBarSeries;
        series->append(set);
        chart->addSeries(series);
        auto* x = new QBarCategoryAxis;
        x->append(categories);
        x->setTitleText(names.displayLabel());
        auto* y = new QValueAxis;
        y->setTitleText(values.displayLabel());
        chart->addAxis(x, Qt::AlignBottom);
        chart->addAxis(y, Qt::AlignLeft);
        series->attachAxis(x);
        series->attachAxis(y);
    }
    auto* view = new QChartView(chart, parent);
    view->setWindowFlag(Qt::Window);
    view->setAttribute(Qt::WA_DeleteOnClose);
    view->setObjectName(QStringLiteral("ChartWindow"));
    view->setWindowTitle(title);
    view->setRenderHint(QPainter::Antialiasing);
    view->resize(640, 420);
    view->show();
    return view;
}
