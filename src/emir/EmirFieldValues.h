#pragma once

#include <QDate>
#include <QDateTime>

class Field;

// Dates of the EMIR rows as the registry uses them: an empty column, or day zero (30.12.1899),
// is no date (a null QDate / QDateTime).
QDate dateOrNull(const Field& field);
QDateTime dateTimeOrNull(const Field& field);
