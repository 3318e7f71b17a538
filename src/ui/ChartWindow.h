#pragma once

#include <QString>

class Dataset;
class QWidget;

// The chart window of a grid: a bar chart over the dataset's rows, the display text of the
// first visible field naming each bar (a name that repeats followed by its count, "KRKG (2)")
// and the value of the second giving its height. The
// window ("ChartWindow", titled with the grid's caption) is not modal and frees itself on close.
namespace ChartWindow {

QWidget* open(QWidget* parent, const Dataset& dataset, const QString& title);

}  // namespace ChartWindow
