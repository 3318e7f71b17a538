#include "listing/ListExport.h"

#include "core/AtomicFile.h"
#include "core/AtomicFileStream.h"
#include "core/Error.h"
#include "core/Formats.h"
#include "core/Windows1250.h"
#include "data/dataset/Dataset.h"
#include "listing/ListColumns.h"

#include <QFile>
#include <QSet>

// pxlib's header declares its functions without C linkage.
extern "C" {
#include <paradox.h>
}
#include <shapefil.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

const QDate kDayZero(1899, 12, 30);

QByteArray ansi(const QString& text)
{
    if (const auto bytes = Windows1250::encode(text))
        return *bytes;
    QString replaced;
    for (const QChar c : text)
        replaced.append(Windows1250::encode(QString(c)) ? c : QChar(u'?'));
    return Windows1250::encode(replaced).value_or(QByteArray());
}

// Column names unique within the file, cut to the format's limit, upper-case ASCII for dBase.
QStringList columnNames(const QList<Field*>& fields, int limit, bool asciiUpper)
{
    QStringList names;
    QSet<QString> used;
    for (const Field* field : fields) {
        QString base;
        for (const QChar c : field->name()) {
            if (!asciiUpper || (c.unicode() < 128 && (c.isLetterOrNumber() || c == u'_')))
                base.append(asciiUpper ? c.toUpper() : c);
        }
        if (base.isEmpty())
            base = QStringLiteral("F");
        base = base.left(limit);
        QString name = base;
        for (int n = 1; used.contains(name.toUpper()); ++n) {
            const QString suffix = QString::number(n);
            name = base.left(limit - suffix.size()) + suffix;
        }
        used.insert(name.toUpper());
        names.append(name);
    }
    return names;
}

int textSize(const Field& field)
{
    const int size = field.size() > 0 && field.type() != FieldType::Memo ? field.size() : field.displayWidth();
    return std::clamp(size, 1, 254);
}

QDateTime dateTimeOf(const QVariant& v)
{
    if (v.typeId() == QMetaType::QTime)
        return QDateTime(kDayZero, v.toTime());
    return Field::convert(FieldType::DateTime, v).toDateTime();
}

// Paradox counts days from 1 January of the year 1 (day 1).
qint64 paradoxDay(const QDate& date)
{
    return date.toJulianDay() - QDate(1, 1, 1).toJulianDay() + 1;
}

bool isNull(const QVariant& v)
{
    return !v.isValid() || v.isNull();
}

void report(const ListExport::Progress& progress, int done, int total, bool* go)
{
    if (progress && !progress(done, total))
        *go = false;
}

// The dBase library opens its files by name through its hooks; while a table is created they
// open the file being written, whatever name they are given, and remove nothing.
thread_local AtomicFile* dbfTarget = nullptr;

SAFile openDbfTarget(const char*, const char*)
{
    return reinterpret_cast<SAFile>(openAtomicFileStream(*dbfTarget));
}

int removeNothing(const char*)
{
    return 0;
}

DBFHandle createDbf(AtomicFile& file)
{
    SAHooks hooks;
    SASetupDefaultHooks(&hooks);
    hooks.FOpen = openDbfTarget;
    hooks.Remove = removeNothing;
    dbfTarget = &file;
    DBFHandle dbf = DBFCreateLL(QFile::encodeName(file.path()).constData(), "LDID/200", &hooks);
    dbfTarget = nullptr;
    return dbf;
}

// Puts a written table in place; a fault its library found, without a reason of the system,
// is named by its own.
void finish(AtomicFile& file, bool written)
{
    if (!written)
        file.fail(QStringLiteral("pisanje ni uspelo"));
    file.putInPlace();
}

}  // namespace

void ListExport::writeDbf(const Dataset& dataset, const QString& path, const Progress& progress)
{
    const QList<Field*> fields = listColumns(dataset);
    AtomicFile file(path);
    DBFHandle dbf = createDbf(file);
    if (!dbf)
        throw ZtfiError(QStringLiteral("Datoteke %1 ni mogoče ustvariti.").arg(path));
    const QStringList names = columnNames(fields, 10, true);
    for (qsizetype i = 0; i < fields.size(); ++i) {
        const Field& f = *fields[i];
        const QByteArray name = names[i].toLatin1();
        char type = 'C';
        int width = 19, decimals = 0;
        if (isIntegerType(f.type())) {
            // The embedded engine keeps whole numbers of any size in an integer column (a
            // transaction's reference number has 12 digits): room for every 64-bit value.
            type = 'N';
            width = 20;
        } else if (isNumericType(f.type())) {
            type = 'N';
            width = 20;
            decimals = 6;
        } else if (f.type() == FieldType::Date) {
            type = 'D';
            width = 8;
        } else if (f.type() == FieldType::Boolean) {
            type = 'L';
            width = 1;
        } else if (isTextType(f.type())) {
            width = textSize(f);
        }
        if (DBFAddNativeFieldType(dbf, name.constData(), type, width, decimals) < 0) {
            DBFClose(dbf);
            throw ZtfiError(QStringLiteral("Polja %1 ni mogoče dodati v %2.").arg(f.name(), path));
        }
    }
    const int total = dataset.recordCount();
    bool go = true;
    bool ok = true;
    for (int row = 0; row < total && go && ok; ++row) {
        for (int i = 0; i < fields.size() && ok; ++i) {
            const Field& f = *fields[i];
            const QVariant v = dataset.valueAt(row, f);
            if (isNull(v) && f.type() == FieldType::Date) {
                // A blank date; the library would treat the text as a number.
                char blank[] = "        ";
                ok = DBFWriteAttributeDirectly(dbf, row, i, blank);
            } else if (isNull(v)) {
                ok = DBFWriteNULLAttribute(dbf, row, i);
            } else if (isIntegerType(f.type()) || isNumericType(f.type())) {
                ok = DBFWriteDoubleAttribute(dbf, row, i, Field::convert(FieldType::Float, v).toDouble());
            } else if (f.type() == FieldType::Date) {
                QByteArray day = dateTimeOf(v).date().toString(QStringLiteral("yyyyMMdd")).toLatin1();
                ok = DBFWriteAttributeDirectly(dbf, row, i, day.data());
            } else if (f.type() == FieldType::Boolean) {
                ok = DBFWriteLogicalAttribute(dbf, row, i, v.toBool() ? 'T' : 'F');
            } else if (f.type() == FieldType::Time) {
                ok = DBFWriteStringAttribute(dbf, row, i, f.textOf(v).toLatin1().constData());
            } else if (isDateTimeType(f.type())) {
                ok = DBFWriteStringAttribute(dbf, row, i, Formats::dateTimeText(dateTimeOf(v)).toLatin1().constData());
            } else {
                ok = DBFWriteStringAttribute(dbf, row, i, ansi(f.textOf(v)).left(textSize(f)).constData());
            }
        }
        report(progress, row + 1, total, &go);
    }
    DBFClose(dbf);
    finish(file, ok);
}

void ListExport::writeParadox(const Dataset& dataset, const QString& path, const Progress& progress)
{
    const QList<Field*> fields = listColumns(dataset);
    pxdoc_t* px = PX_new();
    if (!px)
        throw ZtfiError(QStringLiteral("Datoteke %1 ni mogoče ustvariti.").arg(path));
    // pxlib takes the field list over and frees it with the document.
    auto* pxf = static_cast<pxfield_t*>(std::calloc(std::max<qsizetype>(fields.size(), 1), sizeof(pxfield_t)));
    const QStringList names = columnNames(fields, 25, false);
    std::vector<int> offsets;
    int recordSize = 0;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        const Field& f = *fields[i];
        pxfield_t& d = pxf[i];
        d.px_fname = strdup(ansi(names[i]).constData());
        d.px_fdc = 0;
        switch (f.type()) {
        case FieldType::SmallInt: case FieldType::Word: d.px_ftype = pxfShort; d.px_flen = 2; break;
        case FieldType::Integer: case FieldType::AutoInc: d.px_ftype = pxfLong; d.px_flen = 4; break;
        case FieldType::Float: case FieldType::Currency: case FieldType::BCD: d.px_ftype = pxfNumber; d.px_flen = 8; break;
        case FieldType::Date: d.px_ftype = pxfDate; d.px_flen = 4; break;
        case FieldType::Time: d.px_ftype = pxfTime; d.px_flen = 4; break;
        case FieldType::DateTime: d.px_ftype = pxfTimestamp; d.px_flen = 8; break;
        case FieldType::Boolean: d.px_ftype = pxfLogical; d.px_flen = 1; break;
        default: d.px_ftype = pxfAlpha; d.px_flen = std::min(textSize(f), 255); break;
        }
        offsets.push_back(recordSize);
        recordSize += d.px_flen;
    }
    AtomicFile file(path);
    FILE* stream = openAtomicFileStream(file);
    if (!stream || PX_create_fp(px, pxf, int(fields.size()), stream, pxfFileTypNonIndexDB) < 0) {
        PX_delete(px);
        if (stream)
            std::fclose(stream);
        throw ZtfiError(QStringLiteral("Datoteke %1 ni mogoče ustvariti.").arg(path));
    }
    PX_set_parameter(px, "codepage", "1250");
    std::vector<char> record(std::max(recordSize, 1));
    const int total = dataset.recordCount();
    bool go = true;
    bool ok = true;
    for (int row = 0; row < total && go && ok; ++row) {
        std::fill(record.begin(), record.end(), 0);
        for (qsizetype i = 0; i < fields.size(); ++i) {
            const Field& f = *fields[i];
            const QVariant v = dataset.valueAt(row, f);
            if (isNull(v))
                continue;  // an all-zero value is NULL
            char* at = record.data() + offsets[i];
            const int len = pxf[i].px_flen;
            const QDateTime dt = isDateTimeType(f.type()) ? dateTimeOf(v) : QDateTime();
            switch (pxf[i].px_ftype) {
            case pxfShort: PX_put_data_short(px, at, len, short(Field::convert(FieldType::Integer, v).toInt())); break;
            case pxfLong: PX_put_data_long(px, at, len, Field::convert(FieldType::Integer, v).toInt()); break;
            case pxfNumber: PX_put_data_double(px, at, len, Field::convert(FieldType::Float, v).toDouble()); break;
            case pxfDate: PX_put_data_long(px, at, len, int(paradoxDay(dt.date()))); break;
            case pxfTime: PX_put_data_long(px, at, len, dt.time().msecsSinceStartOfDay()); break;
            case pxfTimestamp:
                PX_put_data_double(px, at, len, paradoxDay(dt.date()) * 86400000.0 + dt.time().msecsSinceStartOfDay());
                break;
            case pxfLogical: PX_put_data_byte(px, at, len, v.toBool() ? 1 : 0); break;
            default: {
                QByteArray bytes = ansi(f.textOf(v)).left(len);
                PX_put_data_alpha(px, at, len, bytes.data());
            }
            }
        }
        ok = PX_put_record(px, record.data()) >= 0;
        report(progress, row + 1, total, &go);
    }
    PX_close(px);
    PX_delete(px);
    // The library leaves a stream it was given open.
    ok = std::fclose(stream) == 0 && ok;
    finish(file, ok);
}

void ListExport::writeText(const Dataset& dataset, const QString& path, const Progress& progress)
{
    const QList<Field*> fields = listColumns(dataset);
    AtomicFile file(path);
    const int total = dataset.recordCount();
    bool go = true;
    for (int row = 0; row < total && go; ++row) {
        QByteArray line;
        for (const Field* f : fields) {
            const int size = isTextType(f->type()) ? textSize(*f) : f->displayWidth();
            // One byte per character; a line break or tab inside a value would break the line.
            QByteArray text = ansi(f->textOf(dataset.valueAt(row, *f))).left(size);
            for (char& c : text) {
                if (static_cast<unsigned char>(c) < 0x20)
                    c = ' ';
            }
            line += isNumericType(f->type()) ? text.rightJustified(size) : text.leftJustified(size);
        }
        line += "\r\n";
        if (!file.write(line.constData(), line.size()))
            break;
        report(progress, row + 1, total, &go);
    }
    file.putInPlace();
}
