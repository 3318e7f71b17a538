#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

// A profile file: "[Section]" lines and "Key=Value" lines. Section and key names compare
// without regard to case; a value is the text after the first "=", without leading and trailing
// blanks; the first occurrence of a key wins. Lines starting with ";" are comments.
// The file is taken as UTF-8 when its bytes are valid UTF-8, else as Windows-1250.
class IniFile {
public:
    enum class Encoding { Utf8, Windows1250 };

    // Parses the bytes of a profile file.
    static IniFile fromBytes(const QByteArray& bytes);
    // Reads the file at path; a file that cannot be read holds no values.
    static IniFile read(const QString& path);

    Encoding encoding() const { return encoding_; }
    bool contains(const QString& section, const QString& key) const;
    // The value of the key, or defaultValue when the key is missing.
    QString value(const QString& section, const QString& key,
                  const QString& defaultValue = QString()) const;

    // Sets one value in the file at path (created when missing): the key's line is rewritten,
    // or added at the end of its section, or the section is appended. Every other byte of the
    // file stays as it was and the value is written in the encoding the file was read in. The
    // file is left readable and writable by its owner only, since it may hold a secret.
    // Throws ZtfiError when the value cannot be written.
    static void writeValue(const QString& path, const QString& section, const QString& key,
                           const QString& value);

private:
    struct Entry {
        QString section;
        QString key;
        QString value;
    };

    Encoding encoding_ = Encoding::Utf8;
    std::vector<Entry> entries_;
};
