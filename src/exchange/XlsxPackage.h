#pragma once

#include <QString>

#include <libxml/xmlreader.h>

#include <memory>

struct zip;

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

private:
    QString path_;
    zip* archive_ = nullptr;
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
    struct zip_file* file_ = nullptr;
    xmlTextReaderPtr reader_ = nullptr;
};
