#pragma once

#include <QString>

class QSqlError;

// The engine's own text of an error (the driver's wrapper text when the engine gave none).
QString sqlErrorText(const QSqlError& error);

// The server's message in a driver's error text: psqlODBC writes "ERROR: <message>;" and then
// what it was doing ("Error while executing the query", "Error while preparing parameters"),
// which says nothing about the cause. Other texts are returned unchanged.
QString serverMessage(const QString& text);
