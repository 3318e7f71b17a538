#pragma once

#include <QString>

#include <libxml/xmlreader.h>

#include <memory>

struct zip;
struct zip_file;

// The zip archive of an .xlsx file and a streaming reader over one of its XML parts. Every
// failure throws WorkbookError naming the file.
class XlsxPackage {
public:
    explicit XlsxPackage(const QString& path);
    ~XlsxPackage();
    XlsxPackage(const XlsxPackage&) = delete;
    XlsxPackage& operator=(const XlsxPackage&) = delete;

    const QString& path() const { return path_; }
    bool hasPart(const QString& name) const;
    // A part name resolved from a relationship target: relative to the folder of the part that
    // names it ("worksheets/sheet1.xml" from "xl/workbook.xml"), or absolute ("/xl/...").
    static QString resolve(const QString& sourcePart, const QString& target);

    class Part;
    std::unique_ptr<Part> open(const QString& name) const;

    // The bytes of one part, read forwards.
    class PartFile;

    // The refusal of a part that is not well-formed XML: damaged, with the parser's first error.
    [[noreturn]] void failUnreadable(const QString& part, const QString& error) const;
    // The refusal of a part that declares a document type: a workbook's parts never do, and one
    // that does could define entities, whose text would be lost or expanded without bound.
    [[noreturn]] void failDocumentType(const QString& part) const;

private:
    QString path_;
    zip* archive_ = nullptr;
};

class XlsxPackage::PartFile {
public:
    // Throws WorkbookError (not a workbook) when the archive holds no such part.
    PartFile(const XlsxPackage& package, const QString& name);
    ~PartFile();
    PartFile(const PartFile&) = delete;
    PartFile& operator=(const PartFile&) = delete;

    // Up to length bytes into buffer: their number, 0 at the end, -1 when the archive cannot give
    // them (a damaged entry).
    qint64 read(char* buffer, qint64 length);

private:
    zip_file* file_ = nullptr;
};

// The elements of one XML part, read forwards.
class XlsxPackage::Part {
public:
    Part(const XlsxPackage& package, const QString& name);
    ~Part();
    Part(const Part&) = delete;
    Part& operator=(const Part&) = delete;

    // Moves to the next node; false at the end of the part.
    bool next();
    bool isStart(const char* localName) const;
    bool isEnd(const char* localName) const;
    bool isEmptyElement() const;
    bool isText() const;
    // The attribute of the current element by its local name, whatever its prefix.
    QString attribute(const char* localName) const;
    // The value of the current text node.
    QString text() const;
    // The text of the current element up to its end (for <t>, <v>).
    QString elementText();

    // Reading failures are collected from libxml2 here.
    QString error;

private:
    [[noreturn]] void fail(const QString& reason) const;

    const XlsxPackage& package_;
    QString name_;
    PartFile file_;
    xmlTextReaderPtr reader_ = nullptr;
};
