#pragma once

#include <QSet>
#include <QString>

#include <optional>

// The country codes (ISO 3166-1 alpha-2) and currency codes (ISO 4217 alpha-3) of the iso-codes
// data that the system installs, read when they are needed.
class IsoCodes {
public:
    // Where Debian's iso-codes package keeps its JSON files.
    static QString debianFolder();
    // The codes of iso_3166-1.json and iso_4217.json in folder; nothing when either file is
    // missing or not read as such a list.
    static std::optional<IsoCodes> load(const QString& folder);

    bool isCountry(const QString& code) const { return countries_.contains(code); }
    bool isCurrency(const QString& code) const { return currencies_.contains(code); }

private:
    QSet<QString> countries_;
    QSet<QString> currencies_;
};
