#pragma once

#include <QString>

// The version information of the program, written into the build: ten strings and four
// numbers, empty or 0 when missing.
class TVersionAgent {
public:
    struct Values {
        QString companyName;
        QString fileDescription;
        QString fileVersion;
        QString internalName;
        QString legalCopyright;
        QString legalTrademarks;
        QString originalFilename;
        QString productName;
        QString productVersion;
        QString comments;
        int majorVersion = 0;
        int minorVersion = 0;
        int build = 0;
        int release = 0;
    };

    // The values of this build.
    TVersionAgent();
    explicit TVersionAgent(const Values& values);

    const QString& companyName() const { return values_.companyName; }
    const QString& fileDescription() const { return values_.fileDescription; }
    const QString& fileVersion() const { return values_.fileVersion; }
    const QString& internalName() const { return values_.internalName; }
    const QString& legalCopyright() const { return values_.legalCopyright; }
    const QString& legalTrademarks() const { return values_.legalTrademarks; }
    const QString& originalFilename() const { return values_.originalFilename; }
    const QString& productName() const { return values_.productName; }
    const QString& productVersion() const { return values_.productVersion; }
    const QString& comments() const { return values_.comments; }
    int majorVersion() const { return values_.majorVersion; }
    int minorVersion() const { return values_.minorVersion; }
    int build() const { return values_.build; }
    int release() const { return values_.release; }

    // The main window's caption: "ZTFI v" followed by the file version.
    QString caption() const;

private:
    Values values_;
};
