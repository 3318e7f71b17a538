#pragma once

#include <QString>

#include <optional>

// An amount written in the Slovenian form: a decimal comma, points as thousands separators
// ("1.234,56"), as a spreadsheet shows it also with an exponent ("1e+15", "1,5E-05"), blanks
// around it allowed; none when the text is not such a finite number.
std::optional<double> parseEmirAmount(const QString& text);
