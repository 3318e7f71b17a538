#include "exchange/XlsFormulaResults.h"

#include "exchange/BiffRecords.h"
#include "exchange/GObjectRef.h"
#include "exchange/NumberFormatKind.h"
#include "exchange/ReadBudget.h"
#include "exchange/WorkbookReadError.h"

#include <QFile>
#include <QtEndian>

#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-stdio.h>

#include <cstring>
#include <map>
#include <optional>

namespace {

using namespace BiffRecord;

// One record of the stream: its type and body.
struct Record {
    quint16 type = 0;
    QByteArray body;
    gsf_off_t position = 0;  // of its header in the stream
};

class RecordStream {
public:
    RecordStream(GsfInput* input, const QString& path) : input_(input), path_(path) {}

    // The next record; false at the end of the stream.
    bool next(Record& record)
    {
        record.position = gsf_input_tell(input_);
        if (gsf_input_remaining(input_) < 4)
            return false;
        guint8 header[4];
        if (!gsf_input_read(input_, 4, header))
            damaged();
        record.type = qFromLittleEndian<quint16>(header);
        const quint16 size = qFromLittleEndian<quint16>(header + 2);
        record.body.resize(size);
        if (size > 0 && !gsf_input_read(input_, size, reinterpret_cast<guint8*>(record.body.data())))
            damaged();
        return true;
    }

    [[noreturn]] void damaged() const { throw workbookReadError(path_, kDamaged); }

private:
    GsfInput* input_;
    QString path_;
};

// Reads the parts of a record body in order; reading past its end is a damaged workbook.
class BodyReader {
public:
    BodyReader(const QByteArray& body, const RecordStream& stream) : body_(body), stream_(stream) {}

    quint8 u8()
    {
        need(1);
        return quint8(body_[at_++]);
    }
    quint16 u16()
    {
        need(2);
        const quint16 v = qFromLittleEndian<quint16>(body_.constData() + at_);
        at_ += 2;
        return v;
    }
    quint32 u32()
    {
        need(4);
        const quint32 v = qFromLittleEndian<quint32>(body_.constData() + at_);
        at_ += 4;
        return v;
    }
    QByteArray bytes(int n)
    {
        need(n);
        const QByteArray part = body_.mid(at_, n);
        at_ += n;
        return part;
    }
    void skip(int n)
    {
        need(n);
        at_ += n;
    }
    int remaining() const { return int(body_.size()) - at_; }

    // Characters of a BIFF8 string after its length: a flags byte (8-bit or UTF-16 characters;
    // the counts of rich-text runs and phonetic data, which follow the characters), then the
    // characters that this body holds, at most count.
    QString characters(int count, bool& wide)
    {
        const quint8 flags = u8();
        wide = flags & 0x01;
        if (flags & 0x08)
            skip(2);
        if (flags & 0x04)
            skip(4);
        return chars(count, wide);
    }
    // Characters in the current width, as many of count as the body holds.
    QString chars(int count, bool wide)
    {
        const int fit = qMin(count, wide ? remaining() / 2 : remaining());
        QString text;
        if (wide) {
            text.resize(fit);
            for (int i = 0; i < fit; ++i)
                text[i] = QChar(u16());
        } else {
            text = QString::fromLatin1(bytes(fit));
        }
        return text;
    }

private:
    void need(int n) const
    {
        if (n < 0 || at_ + n > body_.size())
            stream_.damaged();
    }

    const QByteArray& body_;
    const RecordStream& stream_;
    int at_ = 0;
};

QString errorName(quint8 code)
{
    switch (code) {
    case 0x00:
        return QStringLiteral("#NULL!");
    case 0x07:
        return QStringLiteral("#DIV/0!");
    case 0x0F:
        return QStringLiteral("#VALUE!");
    case 0x17:
        return QStringLiteral("#REF!");
    case 0x1D:
        return QStringLiteral("#NAME?");
    case 0x24:
        return QStringLiteral("#NUM!");
    default:
        return QStringLiteral("#N/A");
    }
}

class FormulaReader {
public:
    FormulaReader(GsfInput* input, const QString& path, ReadBudget& budget) : stream_(input, path), budget_(budget) {}

    QHash<QString, std::vector<FormulaResult>> read()
    {
        Record record;
        readGlobals(record);
        QHash<QString, std::vector<FormulaResult>> results;
        std::vector<FormulaResult>* sheet = nullptr;
        // A text result waits for the STRING record that follows its FORMULA record.
        std::optional<FormulaResult> pendingText;
        QString text;
        int textLeft = 0;
        bool wide = false;
        while (stream_.next(record)) {
            BodyReader body(record.body, stream_);
            switch (record.type) {
            case kBof: {
                const auto found = sheetsAt_.find(quint32(record.position));
                sheet = found == sheetsAt_.end() ? nullptr : &results[found->second];
                pendingText.reset();
                break;
            }
            case kEof:
                sheet = nullptr;
                break;
            case kFormula:
                if (sheet) {
                    budget_.take(0);
                    pendingText = formula(body, *sheet);
                }
                break;
            case kString:
                if (sheet && pendingText) {
                    textLeft = body.u16();
                    text = body.characters(textLeft, wide);
                    textLeft -= int(text.size());
                    if (textLeft == 0)
                        finishText(*sheet, pendingText, text);
                }
                break;
            case kContinue:
                if (sheet && pendingText && textLeft > 0) {
                    wide = body.u8() & 0x01;
                    const QString more = body.chars(textLeft, wide);
                    text += more;
                    textLeft -= int(more.size());
                    if (textLeft == 0)
                        finishText(*sheet, pendingText, text);
                }
                break;
            default:
                break;
            }
        }
        return results;
    }

private:
    // The workbook globals up to their EOF: the sheets and where they start, the number formats
    // of the cell formats, the date system.
    void readGlobals(Record& record)
    {
        if (!stream_.next(record) || record.type != kBof)
            stream_.damaged();
        QHash<int, QString> codes;
        std::vector<int> formatOfXf;
        while (stream_.next(record) && record.type != kEof) {
            BodyReader body(record.body, stream_);
            switch (record.type) {
            case kBoundSheet: {
                const quint32 position = body.u32();
                body.skip(2);
                const int length = body.u8();
                bool wide = false;
                sheetsAt_[position] = body.characters(length, wide);
                break;
            }
            case kFormat: {
                const int id = body.u16();
                const int length = body.u16();
                bool wide = false;
                codes.insert(id, body.characters(length, wide));
                break;
            }
            case kXf:
                body.skip(2);
                formatOfXf.push_back(body.u16());
                break;
            case kDateMode:
                date1904_ = body.u16() == 1;
                break;
            default:
                break;
            }
        }
        kinds_.reserve(formatOfXf.size());
        for (int id : formatOfXf)
            kinds_.push_back(kindOfNumberFormat(id, codes.value(id)));
    }

    // Keeps the result of a FORMULA record; returns the cell when its text follows.
    std::optional<FormulaResult> formula(BodyReader& body, std::vector<FormulaResult>& sheet)
    {
        FormulaResult result{body.u16() + 1, body.u16() + 1, Cell()};
        const quint16 xf = body.u16();
        const QByteArray value = body.bytes(8);
        if (quint8(value[6]) != 0xFF || quint8(value[7]) != 0xFF) {
            double number;
            const quint64 bits = qFromLittleEndian<quint64>(value.constData());
            std::memcpy(&number, &bits, sizeof number);
            const Cell::Kind kind = xf < kinds_.size() ? kinds_[xf] : Cell::Kind::Number;
            result.value = kind == Cell::Kind::Number ? Cell::number(number)
                                                      : Cell::serial(kind, date1904_ ? number + k1904Offset : number);
            sheet.push_back(result);
            return std::nullopt;
        }
        switch (quint8(value[0])) {
        case 0:
            return result;
        case 1:
            result.value = Cell::boolean(value[2] != 0);
            break;
        case 2:
            result.value = Cell::error(errorName(quint8(value[2])));
            break;
        default:  // an empty text
            return std::nullopt;
        }
        sheet.push_back(result);
        return std::nullopt;
    }

    void finishText(std::vector<FormulaResult>& sheet, std::optional<FormulaResult>& pending, const QString& text)
    {
        budget_.take(text.size());
        pending->value = Cell::text(text);
        sheet.push_back(*pending);
        pending.reset();
    }

    RecordStream stream_;
    ReadBudget& budget_;
    std::map<quint32, QString> sheetsAt_;
    std::vector<Cell::Kind> kinds_;
    bool date1904_ = false;
};

// The "Workbook" stream of the compound file; none when the file is no compound file or holds
// no BIFF8 workbook.
class WorkbookStream {
public:
    explicit WorkbookStream(const QString& path)
        : file_(gsf_input_stdio_new(QFile::encodeName(path).constData(), nullptr)),
          container_(file_.get() ? gsf_infile_msole_new(file_.get(), nullptr) : nullptr),
          stream_(container_.get() ? gsf_infile_child_by_name(container_.get(), "Workbook") : nullptr)
    {
    }
    bool isCompoundFile() const { return container_.get() != nullptr; }
    GsfInput* get() const { return stream_.get(); }

private:
    GObjectRef<GsfInput> file_;
    GObjectRef<GsfInfile> container_;
    GObjectRef<GsfInput> stream_;
};

}  // namespace

qint64 declaredXlsCells(const QString& path)
{
    const WorkbookStream workbook(path);
    if (!workbook.get())
        return 0;
    RecordStream stream(workbook.get(), path);
    qint64 cells = 0;
    try {
        Record record;
        while (stream.next(record)) {
            if (record.type != kDimensions)
                continue;
            BodyReader body(record.body, stream);
            body.skip(4);
            const qint64 rows = body.u32();
            body.skip(2);
            cells += rows * body.u16();
        }
    } catch (const WorkbookError&) {
        // The reading of the workbook names the fault.
    }
    return cells;
}

QHash<QString, std::vector<FormulaResult>> readXlsFormulaResults(const QString& path, ReadBudget& budget)
{
    const WorkbookStream workbook(path);
    if (!workbook.isCompoundFile())
        throw workbookReadError(path, kDamaged);
    if (!workbook.get())
        return {};
    return FormulaReader(workbook.get(), path, budget).read();
}
