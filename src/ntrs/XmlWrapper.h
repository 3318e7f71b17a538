#pragma once

#include <QByteArray>
#include <QString>
#include <libxml/tree.h>
#include <optional>

// A thin binding over one element of a libxml2 tree. The tree owns the nodes; a wrapper only
// points at its element. A child element that is accessed and does not exist is created and
// appended after the existing children, so element order is the order of first access.
class XmlElementWrapper {
public:
    XmlElementWrapper(xmlNodePtr node) : node_(node) {}

    xmlNodePtr node() const { return node_; }

    // Attributes; a name with a prefix ("xsi:x") is set in the namespace declared for the
    // prefix, and a name "xmlns:p" declares the namespace p.
    void setAttribute(const char* name, const QString& value);
    std::optional<QString> attribute(const char* name) const;

protected:
    // The first child element with the tag, created when there is none.
    xmlNodePtr child(const char* tag) const;

    QString text(const char* tag) const;
    void setText(const char* tag, const QString& value);
    qint32 int32Value(const char* tag) const;
    void setInt32(const char* tag, qint32 value);
    qint64 int64Value(const char* tag) const;
    void setInt64(const char* tag, qint64 value);

private:
    xmlNodePtr node_;
};

// A wrapper of an element whose children are repeated items of one tag.
class XmlListWrapper : public XmlElementWrapper {
public:
    XmlListWrapper(xmlNodePtr node, const char* itemTag) : XmlElementWrapper(node), itemTag_(itemTag) {}

    int count() const;
    void clear();
    void deleteAt(int index);

protected:
    xmlNodePtr itemNode(int index) const;      // nullptr when out of range
    xmlNodePtr addItemNode();                  // appended as the last child
    xmlNodePtr insertItemNode(int index);      // before the item at index, or last
    void removeNode(xmlNodePtr item);

private:
    const char* itemTag_;
};
