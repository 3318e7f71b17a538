#pragma once

#include <QDate>
#include <QString>

class Connection;
class EmirRegistry;
class Interaction;

// "Generiraj XML": the current report of the registry's list written as an EMIR file in the
// program folder (a report, or the cancellation notice of a cancelled report), with the report
// stamped with the time of its preparation. The file is written under a temporary name,
// validated against EMIR.xsd and renamed into place only when it is valid, so neither a failure
// nor an invalid file is ever left under the report's name.
class EmirXmlFile {
public:
    EmirXmlFile(Connection& connection, const QString& matStev, const QString& programFolder);

    // The firm code: the first 7 characters of MatStev when it is set, else of the
    // back-office registration number (OSB of person 2), filled with "0" to 10 characters.
    QString firmCode();
    // programFolder/EMIR001_<firm code>_<serial "0000">_<year "yy">.xml
    QString filePath(const QString& firmCode, int serial, const QDate& today) const;
    // The question asked before an existing file is replaced.
    static QString overwriteQuestion(const QString& path);

    // Writes the file of the registry's current report after the user's answers and returns
    // its path; empty when the user ended the action. The list is reloaded on the report.
    QString generate(EmirRegistry& registry, Interaction& ui);

private:
    Connection& connection_;
    QString matStev_;
    QString programFolder_;
};
