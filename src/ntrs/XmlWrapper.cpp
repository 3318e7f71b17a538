#include "ntrs/XmlWrapper.h"

#include "ntrs/XmlChars.h"

#include <cstring>

namespace {

bool isElement(xmlNodePtr n, const char* tag)
{
    return n->type == XML_ELEMENT_NODE && xmlStrcmp(n->name, xml(tag)) == 0;
}

QString fromXml(xmlChar* s)
{
    if (!s)
        return QString();
    QString result = QString::fromUtf8(reinterpret_cast<const char*>(s));
    xmlFree(s);
    return result;
}

}  // namespace

void XmlElementWrapper::setAttribute(const char* name, const QString& value)
{
    const QByteArray v = value.toUtf8();
    const char* colon = std::strchr(name, ':');
    if (!colon) {
        xmlSetProp(node_, xml(name), xml(v.constData()));
        return;
    }
    const QByteArray prefix(name, int(colon - name));
    const char* local = colon + 1;
    if (prefix == "xmlns") {
        if (!xmlSearchNs(node_->doc, node_, xml(local)))
            xmlNewNs(node_, xml(v.constData()), xml(local));
        return;
    }
    xmlNsPtr ns = xmlSearchNs(node_->doc, node_, xml(prefix.constData()));
    if (ns)
        xmlSetNsProp(node_, ns, xml(local), xml(v.constData()));
    else
        xmlSetProp(node_, xml(name), xml(v.constData()));
}

std::optional<QString> XmlElementWrapper::attribute(const char* name) const
{
    xmlChar* value = xmlGetProp(node_, xml(name));
    if (!value)
        return std::nullopt;
    return fromXml(value);
}

xmlNodePtr XmlElementWrapper::child(const char* tag) const
{
    for (xmlNodePtr n = node_->children; n; n = n->next)
        if (isElement(n, tag))
            return n;
    return xmlNewChild(node_, nullptr, xml(tag), nullptr);
}

QString XmlElementWrapper::text(const char* tag) const
{
    return fromXml(xmlNodeGetContent(child(tag)));
}

void XmlElementWrapper::setText(const char* tag, const QString& value)
{
    // The element's content becomes one text node of the value, none for an empty value: what
    // setting its content to the escaped value gives, without escaping and parsing it again.
    xmlNodePtr n = child(tag);
    xmlNodeSetContent(n, nullptr);
    const QByteArray text = value.toUtf8();
    if (text.constData()[0] != '\0')
        xmlAddChild(n, xmlNewDocText(n->doc, xml(text.constData())));
}

qint32 XmlElementWrapper::int32Value(const char* tag) const
{
    return text(tag).toInt();
}

void XmlElementWrapper::setInt32(const char* tag, qint32 value)
{
    setText(tag, QString::number(value));
}

qint64 XmlElementWrapper::int64Value(const char* tag) const
{
    return text(tag).toLongLong();
}

void XmlElementWrapper::setInt64(const char* tag, qint64 value)
{
    setText(tag, QString::number(value));
}

int XmlListWrapper::count() const
{
    int n = 0;
    for (xmlNodePtr c = node()->children; c; c = c->next)
        if (isElement(c, itemTag_))
            ++n;
    return n;
}

xmlNodePtr XmlListWrapper::itemNode(int index) const
{
    int i = 0;
    for (xmlNodePtr c = node()->children; c; c = c->next)
        if (isElement(c, itemTag_) && i++ == index)
            return c;
    return nullptr;
}

xmlNodePtr XmlListWrapper::addItemNode()
{
    return xmlNewChild(node(), nullptr, xml(itemTag_), nullptr);
}

xmlNodePtr XmlListWrapper::insertItemNode(int index)
{
    xmlNodePtr before = itemNode(index);
    if (!before)
        return addItemNode();
    xmlNodePtr item = xmlNewDocNode(node()->doc, nullptr, xml(itemTag_), nullptr);
    return xmlAddPrevSibling(before, item);
}

void XmlListWrapper::removeNode(xmlNodePtr item)
{
    if (!item || item->parent != node())
        return;
    xmlUnlinkNode(item);
    xmlFreeNode(item);
}

void XmlListWrapper::clear()
{
    while (xmlNodePtr item = itemNode(0))
        removeNode(item);
}

void XmlListWrapper::deleteAt(int index)
{
    removeNode(itemNode(index));
}
