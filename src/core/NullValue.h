#pragma once

#include <QVariant>

// A value that holds nothing: not set, or the null of its type.
inline bool isNullValue(const QVariant& value)
{
    return !value.isValid() || value.isNull();
}
