#pragma once

#include <QString>

#include <optional>

// An amount written in the Slovenian form: a decimal comma, points as thousands separators
// ("1.234,56"), blanks around it allowed; none when the text is not such a number.
std::optional<double> parseEmirAmount(const QString& text);
