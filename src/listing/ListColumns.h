#pragma once

#include <QList>

class Dataset;
class Field;

// The columns of a list print or export: the visible fields of the dataset in field order.
QList<Field*> listColumns(const Dataset& dataset);
