#include "core/IniFile.h"

#include "core/Error.h"
#include "core/Windows1250.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <optional>

namespace {

// One line of the file as its bytes (terminator included) and its meaning.
struct Line {
    enum class Kind { Other, Section, Key };

    QByteArray bytes;
    Kind kind = Kind::Other;
    QString name;   // section or key name
    QString value;  // value of a key line
};

bool isValidUtf8(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    [[maybe_unused]] const QString text = decoder(bytes);
    return !decoder.hasError();
}

IniFile::Encoding detectEncoding(const QByteArray& bytes)
{
    return isValidUtf8(bytes) ? IniFile::Encoding::Utf8 : IniFile::Encoding::Windows1250;
}

QString decodeText(const QByteArray& bytes, IniFile::Encoding encoding)
{
    if (encoding == IniFile::Encoding::Windows1250)
        return Windows1250::decode(bytes);
    QString text = QString::fromUtf8(bytes);
    if (text.startsWith(QChar(0xFEFF)))  // byte order mark
        text.remove(0, 1);
    return text;
}

std::optional<QByteArray> encodeText(const QString& text, IniFile::Encoding encoding)
{
    if (encoding == IniFile::Encoding::Windows1250)
        return Windows1250::encode(text);
    return text.toUtf8();
}

Line parseLine(const QByteArray& bytes, IniFile::Encoding encoding)
{
    Line line;
    line.bytes = bytes;
    const QString text = decodeText(bytes, encoding).trimmed();
    if (text.startsWith(QLatin1Char('['))) {
        const qsizetype end = text.indexOf(QLatin1Char(']'));
        if (end > 0) {
            line.kind = Line::Kind::Section;
            line.name = text.mid(1, end - 1).trimmed();
        }
        return line;
    }
    if (text.startsWith(QLatin1Char(';')))
        return line;
    const qsizetype equals = text.indexOf(QLatin1Char('='));
    if (equals > 0) {
        line.kind = Line::Kind::Key;
        line.name = text.left(equals).trimmed();
        line.value = text.mid(equals + 1).trimmed();
    }
    return line;
}

// The lines of the file, each with its own terminator ("\n" or "\r\n"; none on a last line
// without one).
std::vector<Line> splitLines(const QByteArray& bytes, IniFile::Encoding encoding)
{
    std::vector<Line> lines;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        end = end < 0 ? bytes.size() : end + 1;
        lines.push_back(parseLine(bytes.mid(start, end - start), encoding));
        start = end;
    }
    return lines;
}

bool sameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QByteArray lineTerminator(const QByteArray& line)
{
    if (line.endsWith("\r\n"))
        return QByteArrayLiteral("\r\n");
    if (line.endsWith('\n'))
        return QByteArrayLiteral("\n");
    return QByteArray();
}

// The terminator the file uses: that of its first line, "\n" for a file of one unterminated line.
QByteArray fileTerminator(const std::vector<Line>& lines)
{
    if (!lines.empty()) {
        const QByteArray first = lineTerminator(lines.front().bytes);
        if (!first.isEmpty())
            return first;
    }
    return QByteArrayLiteral("\n");
}

QByteArray readBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

}  // namespace

IniFile IniFile::fromBytes(const QByteArray& bytes)
{
    IniFile ini;
    ini.encoding_ = detectEncoding(bytes);
    QString section;
    bool inSection = false;
    for (const Line& line : splitLines(bytes, ini.encoding_)) {
        if (line.kind == Line::Kind::Section) {
            section = line.name;
            inSection = true;
        } else if (line.kind == Line::Kind::Key && inSection) {
            ini.entries_.push_back({section, line.name, line.value});
        }
    }
    return ini;
}

IniFile IniFile::read(const QString& path)
{
    return fromBytes(readBytes(path));
}

bool IniFile::contains(const QString& section, const QString& key) const
{
    for (const Entry& entry : entries_) {
        if (sameName(entry.section, section) && sameName(entry.key, key))
            return true;
    }
    return false;
}

QString IniFile::value(const QString& section, const QString& key, const QString& defaultValue) const
{
    for (const Entry& entry : entries_) {
        if (sameName(entry.section, section) && sameName(entry.key, key))
            return entry.value;
    }
    return defaultValue;
}

void IniFile::writeValue(const QString& path, const QString& section, const QString& key,
                         const QString& value)
{
    const QString fileName = QFileInfo(path).fileName();
    if (value.contains(QLatin1Char('\n')) || value.contains(QLatin1Char('\r'))) {
        throw ZtfiError(QStringLiteral("Vrednost %1 v %2 ne sme vsebovati preloma vrstice.")
                            .arg(key, fileName));
    }

    QByteArray original;
    if (QFileInfo::exists(path)) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            throw ZtfiError(QStringLiteral("Datoteke %1 ni mogoče prebrati: %2")
                                .arg(path, file.errorString()));
        }
        original = file.readAll();
    }
    const Encoding encoding = detectEncoding(original);
    std::vector<Line> lines = splitLines(original, encoding);
    const QByteArray newline = fileTerminator(lines);

    const auto encoded = [&](const QString& text) {
        const std::optional<QByteArray> bytes = encodeText(text, encoding);
        if (!bytes) {
            throw ZtfiError(QStringLiteral("Vrednosti %1 ni mogoče zapisati v kodni tabeli datoteke %2.")
                                .arg(key, fileName));
        }
        return *bytes;
    };

    // The key's line in a section of that name, else the place after the last key of the
    // first section of that name.
    std::optional<size_t> keyLine;
    std::optional<size_t> insertAt;
    bool inSection = false;
    bool inFirstSection = false;
    for (size_t i = 0; i < lines.size(); ++i) {
        const Line& line = lines[i];
        if (line.kind == Line::Kind::Section) {
            inSection = sameName(line.name, section);
            inFirstSection = inSection && !insertAt;
            if (inFirstSection)
                insertAt = i + 1;
        } else if (line.kind == Line::Kind::Key && inSection) {
            if (sameName(line.name, key)) {
                keyLine = i;
                break;
            }
            if (inFirstSection)
                insertAt = i + 1;
        }
    }

    const auto terminate = [&](Line& line) {
        if (lineTerminator(line.bytes).isEmpty())
            line.bytes += newline;
    };
    if (keyLine) {
        Line& line = lines[*keyLine];
        const qsizetype equals = line.bytes.indexOf('=');
        line.bytes = line.bytes.left(equals + 1) + encoded(value) + lineTerminator(line.bytes);
    } else if (insertAt) {
        terminate(lines[*insertAt - 1]);
        Line added;
        added.bytes = encoded(key + QLatin1Char('=') + value) + newline;
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(*insertAt), added);
    } else {
        if (!lines.empty())
            terminate(lines.back());
        Line header;
        header.bytes = encoded(QLatin1Char('[') + section + QLatin1Char(']')) + newline;
        Line added;
        added.bytes = encoded(key + QLatin1Char('=') + value) + newline;
        lines.push_back(header);
        lines.push_back(added);
    }

    QByteArray result;
    for (const Line& line : lines)
        result += line.bytes;

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)
        || !file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner)
        || file.write(result) != result.size() || !file.commit()) {
        throw ZtfiError(QStringLiteral("Datoteke %1 ni mogoče zapisati: %2")
                            .arg(path, file.errorString()));
    }
}
