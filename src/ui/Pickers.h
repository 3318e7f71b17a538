#pragma once

#include <QDate>
#include <QString>
#include <QTime>

#include <optional>

class QWidget;

// The pickers of the typed edits: plain modal choosers of a date (calendar), a time (clock), a
// number (calculator) and a text (on-screen keyboard). Each returns nothing when cancelled.
// The dialogs are named "pickCalendar", "pickClock", "pickCalculator" and "pickKeyboard".
namespace Pickers {

std::optional<QDate> date(QWidget* parent, const QDate& initial);
std::optional<QTime> time(QWidget* parent, const QTime& initial);
std::optional<double> number(QWidget* parent, double initial);
std::optional<QString> text(QWidget* parent, const QString& initial);

}  // namespace Pickers
