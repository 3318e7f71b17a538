#include "exchange/SeparatedDataImport.h"

#include "core/Windows1250.h"
#include "exchange/DataImportError.h"

#include <QFile>
#include <QStringDecoder>

namespace {

QString decodeText(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    if (utf8.hasError())
        text = Windows1250::decode(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text;
}

}  // namespace

QStringList TSeparatedDataImport::split(const QString& line, QChar separator)
{
    QStringList fields;
    qsizetype start = 0;
    for (qsizetype at = line.indexOf(separator); at >= 0; at = line.indexOf(separator, start)) {
        fields.append(line.mid(start, at - start));
        start = at + 1;
    }
    if (start < line.size())
        fields.append(line.mid(start));
    return fields;
}

void TSeparatedDataImport::DoOpen(const QString& fileName)
{
    open_ = false;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw EDataImportError(QStringLiteral("%1: %2").arg(fileName, file.errorString()));
    QString text = decodeText(file.readAll());
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    lines_ = text.split(QLatin1Char('\n'));
    if (!lines_.isEmpty() && lines_.last().isEmpty())
        lines_.removeLast();
    line_ = 0;
    fields_.reset();
    open_ = true;
}

void TSeparatedDataImport::requireOpen() const
{
    if (!open_)
        throw EDataImportError(className() + QStringLiteral(": data not loaded."));
}

Cell TSeparatedDataImport::GetValue(int index)
{
    requireOpen();
    if (!fields_)
        fields_ = line_ < lines_.size() ? split(lines_[line_], separator_) : QStringList();
    return index >= 0 && index < fields_->size() ? Cell::text(fields_->at(index)) : Cell::text(QString());
}

bool TSeparatedDataImport::Eof()
{
    requireOpen();
    return line_ >= lines_.size();
}

void TSeparatedDataImport::First()
{
    requireOpen();
    line_ = 0;
    fields_.reset();
}

void TSeparatedDataImport::Next()
{
    requireOpen();
    if (line_ < lines_.size())
        ++line_;
    fields_.reset();
}
