#pragma once

#include <QList>

class Dataset;
class Field;
class QFontMetricsF;

// The columns of a list print or export: the visible fields of the dataset in field order.
QList<Field*> listColumns(const Dataset& dataset);

// The width of one character of a column's display width: the average width of the capitals
// of the font, so that codes ("XETR", "ESVUFR") fit their columns on screen and on paper.
double averageCapitalWidth(const QFontMetricsF& metrics);
