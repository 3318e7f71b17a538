#pragma once

#include <QString>

// What one reading of a workbook may hold in memory: values (cells and shared texts) and
// characters of text. A workbook beyond either is refused with a message before it takes the
// memory, whatever it declares about itself: a clerk's sheet of manual transactions or disputes
// holds far less.
class ReadBudget {
public:
    static constexpr qint64 kValues = 2000000;
    static constexpr qint64 kCharacters = 50000000;

    explicit ReadBudget(const QString& path) : path_(path) {}

    // Counts one value of that many characters of text; throws WorkbookError naming the file
    // when the workbook holds more than a reading may.
    void take(qsizetype characters);

private:
    QString path_;
    qint64 values_ = 0;
    qint64 characters_ = 0;
};
