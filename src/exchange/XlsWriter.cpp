#include "exchange/XlsWriter.h"

#include "exchange/BiffRecords.h"
#include "exchange/GObjectRef.h"
#include "exchange/WorkbookError.h"

#include <QHash>
#include <QtEndian>

#include <gsf/gsf-output-memory.h>
#include <gsf/gsf-outfile-msole.h>

#include <cstring>

namespace {

using namespace BiffRecord;

// The longest record body; longer tables go on in CONTINUE records.
constexpr int kMaxRecordData = 8224;
// The workbook's own number formats: a date "dd.mm.yyyy", a date with a time of day.
constexpr quint16 kDateFormat = 164;
constexpr quint16 kDateTimeFormat = 165;
// The cell formats, after the sixteen style formats: General, a date, the built-in format of a
// time of day (21) and a date with a time.
constexpr quint16 kCellXf = 16;
constexpr quint16 kDateXf = 17;
constexpr quint16 kTimeXf = 18;
constexpr quint16 kDateTimeXf = 19;

quint16 cellFormatOf(Cell::Kind kind)
{
    switch (kind) {
    case Cell::Kind::Date:
        return kDateXf;
    case Cell::Kind::Time:
        return kTimeXf;
    case Cell::Kind::DateTime:
        return kDateTimeXf;
    default:
        return kCellXf;
    }
}
// Streams shorter than this land in the compound file's small-block stream, where some readers
// do not look for a workbook; shorter workbooks are padded up to it.
constexpr int kMinimumStreamSize = 4096;

class Bytes {
public:
    void u8(quint8 v) { data.append(char(v)); }
    void u16(quint16 v)
    {
        char b[2];
        qToLittleEndian(v, b);
        data.append(b, 2);
    }
    void u32(quint32 v)
    {
        char b[4];
        qToLittleEndian(v, b);
        data.append(b, 4);
    }
    void f64(double v)
    {
        quint64 bits;
        std::memcpy(&bits, &v, sizeof bits);
        char b[8];
        qToLittleEndian(bits, b);
        data.append(b, 8);
    }
    void utf16(const QString& text)
    {
        for (QChar ch : text)
            u16(ch.unicode());
    }
    int size() const { return int(data.size()); }

    QByteArray data;
};

void record(Bytes& stream, quint16 type, const Bytes& body)
{
    stream.u16(type);
    stream.u16(quint16(body.size()));
    stream.data.append(body.data);
}

void bof(Bytes& stream, quint16 kind)
{
    Bytes body;
    body.u16(0x0600);  // BIFF8
    body.u16(kind);    // 0x0005 workbook globals, 0x0010 worksheet
    body.u16(0x0DBB);  // build
    body.u16(0x07CC);  // year
    body.u32(0);
    body.u32(0x00000006);
    record(stream, kBof, body);
}

void eof(Bytes& stream)
{
    record(stream, kEof, Bytes());
}

void font(Bytes& stream)
{
    Bytes body;
    body.u16(200);     // 10 points in twips
    body.u16(0);       // plain
    body.u16(0x7FFF);  // automatic colour
    body.u16(400);     // normal weight
    body.u16(0);       // no super- or subscript
    body.u8(0);        // not underlined
    body.u8(0);        // family
    body.u8(0);        // character set
    body.u8(0);
    const QString name = QStringLiteral("Arial");
    body.u8(quint8(name.size()));
    body.u8(1);  // UTF-16
    body.utf16(name);
    record(stream, kFont, body);
}

void xf(Bytes& stream, bool style, quint16 format = 0)
{
    Bytes body;
    body.u16(0);  // font
    body.u16(format);
    body.u16(style ? 0xFFF5 : 0x0001);  // locked; a style, or a cell of the Normal style
    body.u8(0x20);                      // aligned to the bottom
    body.u8(0);
    body.u8(0);
    body.u8(style ? 0xF4 : 0x00);  // which attributes a style leaves to its cells
    body.u32(0);                   // no borders
    body.u32(0);
    body.u16(0x20C0);  // pattern colours: automatic
    record(stream, kXf, body);
}

// A number format of the workbook's own, by its number (164 and up) and code.
void format(Bytes& stream, quint16 id, const QString& code)
{
    Bytes body;
    body.u16(id);
    body.u16(quint16(code.size()));
    body.u8(1);  // UTF-16
    body.utf16(code);
    record(stream, kFormat, body);
}

void styleNormal(Bytes& stream)
{
    Bytes body;
    body.u16(0x8000);  // built-in style of XF 0
    body.u8(0);        // Normal
    body.u8(0xFF);
    record(stream, kStyle, body);
}

// The shared string table and its CONTINUE records. A string's length and flags are never
// split; its characters may go on in the next record, which then starts with the flags byte.
void sharedStrings(Bytes& stream, const std::vector<QString>& strings, quint32 total)
{
    Bytes current;
    quint16 type = kSst;
    auto flush = [&] {
        record(stream, type, current);
        current = Bytes();
        type = kContinue;
    };
    current.u32(total);
    current.u32(quint32(strings.size()));
    for (const QString& text : strings) {
        if (current.size() + 3 + 2 > kMaxRecordData)
            flush();
        current.u16(quint16(text.size()));
        current.u8(1);  // UTF-16
        int written = 0;
        while (written < text.size()) {
            const int room = (kMaxRecordData - current.size()) / 2;
            const int n = qMin(room, int(text.size()) - written);
            current.utf16(text.mid(written, n));
            written += n;
            if (written < text.size()) {
                flush();
                current.u8(1);
            }
        }
    }
    flush();
}

// The cells of one worksheet, with the indexes of their texts in the shared table.
class SheetStream {
public:
    SheetStream(const SheetContent& sheet, QHash<QString, quint32>& stringIndex, std::vector<QString>& strings,
                quint32& textCells, bool first)
    {
        bof(bytes, 0x0010);
        Bytes dimensions;
        int lastRow = 0;
        int lastColumn = 0;
        for (int r = 1; r <= sheet.values.rows(); ++r)
            for (int c = 1; c <= sheet.values.columns(); ++c)
                if (!sheet.values.at(r, c).isEmpty()) {
                    lastRow = qMax(lastRow, r);
                    lastColumn = qMax(lastColumn, c);
                }
        dimensions.u32(0);
        dimensions.u32(quint32(lastRow));
        dimensions.u16(0);
        dimensions.u16(quint16(lastColumn));
        dimensions.u16(0);
        record(bytes, kDimensions, dimensions);
        for (int r = 1; r <= lastRow; ++r) {
            for (int c = 1; c <= lastColumn; ++c) {
                const Cell& cell = sheet.values.at(r, c);
                if (cell.isEmpty())
                    continue;
                Bytes body;
                body.u16(quint16(r - 1));
                body.u16(quint16(c - 1));
                body.u16(cellFormatOf(cell.kind()));
                if (cell.kind() == Cell::Kind::Number || cell.isDateOrTime()) {
                    body.f64(cell.numberValue());
                    record(bytes, kNumber, body);
                    continue;
                }
                const QString text = cell.toText();
                auto found = stringIndex.find(text);
                if (found == stringIndex.end()) {
                    found = stringIndex.insert(text, quint32(strings.size()));
                    strings.push_back(text);
                }
                body.u32(found.value());
                record(bytes, kLabelSst, body);
                ++textCells;
            }
        }
        Bytes window;
        window.u16(first ? 0x06B6 : 0x00B6);  // grid, headers, zeros, outline; the first selected
        window.u16(0);
        window.u16(0);
        window.u32(0x40);  // automatic grid colour
        window.u16(0);
        window.u16(0);
        window.u32(0);
        record(bytes, kWindow2, window);
        eof(bytes);
    }

    Bytes bytes;
};

QByteArray workbookStream(const std::vector<SheetContent>& sheets)
{
    QHash<QString, quint32> stringIndex;
    std::vector<QString> strings;
    quint32 textCells = 0;
    std::vector<SheetStream> sheetStreams;
    sheetStreams.reserve(sheets.size());
    for (size_t i = 0; i < sheets.size(); ++i)
        sheetStreams.emplace_back(sheets[i], stringIndex, strings, textCells, i == 0);

    Bytes globals;
    bof(globals, 0x0005);
    Bytes codePage;
    codePage.u16(1200);  // UTF-16
    record(globals, kCodePage, codePage);
    Bytes window;
    window.u16(0x0168);
    window.u16(0x001E);
    window.u16(0x3FCF);
    window.u16(0x2A4E);
    window.u16(0x0038);  // horizontal and vertical scroll bars, sheet tabs
    window.u16(0);       // active sheet
    window.u16(0);       // first visible tab
    window.u16(1);       // one sheet selected
    window.u16(0x0258);  // width of the tab bar
    record(globals, kWindow1, window);
    for (int i = 0; i < 4; ++i)
        font(globals);
    format(globals, kDateFormat, QStringLiteral("dd.mm.yyyy"));
    format(globals, kDateTimeFormat, QStringLiteral("dd.mm.yyyy hh:mm:ss"));
    for (quint16 i = 0; i < 16; ++i)
        xf(globals, true);
    xf(globals, false);
    xf(globals, false, kDateFormat);
    xf(globals, false, 21);
    xf(globals, false, kDateTimeFormat);
    styleNormal(globals);
    std::vector<int> positionFields;
    for (const SheetContent& sheet : sheets) {
        Bytes body;
        positionFields.push_back(globals.size() + 4);
        body.u32(0);  // position of the sheet's BOF, set below
        body.u8(0);   // visible
        body.u8(0);   // worksheet
        body.u8(quint8(sheet.name.size()));
        body.u8(1);  // UTF-16
        body.utf16(sheet.name);
        record(globals, kBoundSheet, body);
    }
    sharedStrings(globals, strings, textCells);
    eof(globals);

    quint32 position = quint32(globals.size());
    for (size_t i = 0; i < sheetStreams.size(); ++i) {
        qToLittleEndian(position, globals.data.data() + positionFields[i]);
        position += quint32(sheetStreams[i].bytes.size());
    }
    QByteArray stream = globals.data;
    for (const SheetStream& sheet : sheetStreams)
        stream.append(sheet.bytes.data);
    if (stream.size() < kMinimumStreamSize)
        stream.append(QByteArray(kMinimumStreamSize - stream.size(), '\0'));
    return stream;
}

}  // namespace

QByteArray xlsBytes(const std::vector<SheetContent>& sheets)
{
    const QByteArray stream = workbookStream(sheets);
    GObjectRef<GsfOutput> sink(gsf_output_memory_new());
    {
        GObjectRef<GsfOutfile> container(gsf_outfile_msole_new(sink.get()));
        GObjectRef<GsfOutput> workbook(gsf_outfile_new_child(container.get(), "Workbook", FALSE));
        if (!gsf_output_write(workbook.get(), size_t(stream.size()), reinterpret_cast<const guint8*>(stream.constData()))
            || !gsf_output_close(workbook.get()) || !gsf_output_close(GSF_OUTPUT(container.get())))
            throw WorkbookError(QStringLiteral("Delovnega zvezka .xls ni mogoče sestaviti."));
    }
    const gsf_off_t size = gsf_output_size(sink.get());
    const guint8* bytes = gsf_output_memory_get_bytes(GSF_OUTPUT_MEMORY(sink.get()));
    return QByteArray(reinterpret_cast<const char*>(bytes), qsizetype(size));
}
