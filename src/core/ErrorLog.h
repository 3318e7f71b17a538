#pragma once

#include <QString>

// The step trace of the long actions: programFolder + "Log.txt", written only when the
// configuration's Debug is on. One line per call: date (and time unless exactly midnight),
// " : ", the message, CR LF.
class ErrorLog {
public:
    ErrorLog(const QString& programFolder, bool enabled);

    // Appends one line (creating the file on first use); an input/output error is thrown as
    // ZtfiError to the caller.
    void NapakavLog(const QString& message) const;

    bool enabled() const { return enabled_; }
    QString filePath() const;

private:
    QString programFolder_;
    bool enabled_;
};
