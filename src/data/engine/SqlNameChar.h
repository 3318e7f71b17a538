#pragma once

#include <QChar>

// A character of an SQL name or of a parameter's name.
inline bool isNameChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c == u'$' || c == u'#';
}
