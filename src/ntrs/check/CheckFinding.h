#pragma once

#include <QString>

// One finding of the check of a period: an error the generation would stop at, or a warning
// about a value the regulator may refuse although the generation takes it.
struct CheckFinding {
    enum class Level { Error, Warning };

    Level level = Level::Error;
    QString reference;  // RefStTransaC of the report row; empty for the code list or the whole report
    QString field;      // the field (or the report's element) the finding is about
    QString value;      // its value
    QString rule;       // what the value breaks

    // "Napaka" or "Opozorilo".
    QString levelText() const;
};
