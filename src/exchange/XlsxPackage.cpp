#include "exchange/XlsxPackage.h"

#include "exchange/WorkbookReadError.h"

#include <QFile>
#include <QStringList>

#include <zip.h>

namespace {


int readPart(void* context, char* buffer, int length)
{
    return int(static_cast<XlsxPackage::PartFile*>(context)->read(buffer, length));
}

int keepPartOpen(void*)
{
    return 0;
}

void collectError(void* arg, const char* msg, xmlParserSeverities severity, xmlTextReaderLocatorPtr)
{
    auto* error = static_cast<QString*>(arg);
    if ((severity == XML_PARSER_SEVERITY_ERROR || severity == XML_PARSER_SEVERITY_VALIDITY_ERROR)
        && error->isEmpty())
        *error = QString::fromUtf8(msg).trimmed();
}

}  // namespace

XlsxPackage::XlsxPackage(const QString& path) : path_(path)
{
    int code = 0;
    archive_ = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &code);
    if (!archive_)
        throw workbookReadError(path, kDamaged);  // it starts as an archive, so it is one cut short
}

XlsxPackage::~XlsxPackage()
{
    zip_discard(archive_);
}

bool XlsxPackage::hasPart(const QString& name) const
{
    return zip_name_locate(archive_, name.toUtf8().constData(), 0) >= 0;
}

QString XlsxPackage::resolve(const QString& sourcePart, const QString& target)
{
    QStringList parts;
    if (!target.startsWith(QLatin1Char('/'))) {
        parts = sourcePart.split(QLatin1Char('/'));
        parts.removeLast();
    }
    for (const QString& segment : target.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (segment == QLatin1String(".."))
            parts.isEmpty() ? void() : parts.removeLast();
        else if (segment != QLatin1String("."))
            parts.append(segment);
    }
    return parts.join(QLatin1Char('/'));
}

std::unique_ptr<XlsxPackage::Part> XlsxPackage::open(const QString& name) const
{
    return std::make_unique<Part>(*this, name);
}

void XlsxPackage::failUnreadable(const QString& part, const QString& error) const
{
    throw workbookReadError(path_, kDamaged + (error.isEmpty() ? QString() : QStringLiteral(" (%1: %2)").arg(part, error)));
}

void XlsxPackage::failDocumentType(const QString& part) const
{
    throw workbookReadError(path_, QStringLiteral("del %1 vsebuje definicijo tipa dokumenta (DTD), ki je delovni zvezek ne sme imeti").arg(part));
}

XlsxPackage::PartFile::PartFile(const XlsxPackage& package, const QString& name)
    : file_(zip_fopen(package.archive_, name.toUtf8().constData(), 0))
{
    if (!file_)
        throw workbookReadError(package.path(), kNotWorkbook);
}

XlsxPackage::PartFile::~PartFile()
{
    zip_fclose(file_);
}

qint64 XlsxPackage::PartFile::read(char* buffer, qint64 length)
{
    return zip_fread(file_, buffer, zip_uint64_t(length));
}

XlsxPackage::Part::Part(const XlsxPackage& package, const QString& name)
    : package_(package), name_(name), file_(package, name)
{
    reader_ = xmlReaderForIO(readPart, keepPartOpen, &file_, nullptr, nullptr,
                             XML_PARSE_NONET);
    if (!reader_)
        fail(kDamaged);
    xmlTextReaderSetErrorHandler(reader_, collectError, &error);
}

XlsxPackage::Part::~Part()
{
    if (reader_)
        xmlFreeTextReader(reader_);
}

void XlsxPackage::Part::fail(const QString& reason) const
{
    throw workbookReadError(package_.path(), reason);
}

bool XlsxPackage::Part::next()
{
    const int rc = xmlTextReaderRead(reader_);
    if (rc < 0 || !error.isEmpty())
        package_.failUnreadable(name_, error);
    if (rc == 1 && xmlTextReaderNodeType(reader_) == XML_READER_TYPE_DOCUMENT_TYPE)
        package_.failDocumentType(name_);
    return rc == 1;
}

bool XlsxPackage::Part::isStart(const char* localName) const
{
    return xmlTextReaderNodeType(reader_) == XML_READER_TYPE_ELEMENT
           && xmlStrEqual(xmlTextReaderConstLocalName(reader_), BAD_CAST localName);
}

bool XlsxPackage::Part::isEnd(const char* localName) const
{
    const int type = xmlTextReaderNodeType(reader_);
    const bool named = xmlStrEqual(xmlTextReaderConstLocalName(reader_), BAD_CAST localName);
    return named
           && (type == XML_READER_TYPE_END_ELEMENT
               || (type == XML_READER_TYPE_ELEMENT && xmlTextReaderIsEmptyElement(reader_) == 1));
}

bool XlsxPackage::Part::isEmptyElement() const
{
    return xmlTextReaderIsEmptyElement(reader_) == 1;
}

bool XlsxPackage::Part::isText() const
{
    const int type = xmlTextReaderNodeType(reader_);
    return type == XML_READER_TYPE_TEXT || type == XML_READER_TYPE_CDATA
           || type == XML_READER_TYPE_SIGNIFICANT_WHITESPACE || type == XML_READER_TYPE_WHITESPACE;
}

QString XlsxPackage::Part::attribute(const char* localName) const
{
    QString value;
    if (xmlTextReaderMoveToFirstAttribute(reader_) != 1)
        return value;
    do {
        if (xmlStrEqual(xmlTextReaderConstLocalName(reader_), BAD_CAST localName)) {
            value = QString::fromUtf8(reinterpret_cast<const char*>(xmlTextReaderConstValue(reader_)));
            break;
        }
    } while (xmlTextReaderMoveToNextAttribute(reader_) == 1);
    xmlTextReaderMoveToElement(reader_);
    return value;
}

QString XlsxPackage::Part::text() const
{
    return QString::fromUtf8(reinterpret_cast<const char*>(xmlTextReaderConstValue(reader_)));
}

QString XlsxPackage::Part::elementText()
{
    if (isEmptyElement())
        return QString();
    const int depth = xmlTextReaderDepth(reader_);
    QString value;
    while (next()) {
        if (isText())
            value += text();
        else if (xmlTextReaderNodeType(reader_) == XML_READER_TYPE_END_ELEMENT && xmlTextReaderDepth(reader_) == depth)
            break;
    }
    return value;
}
