#pragma once

#include <libxml/xmlstring.h>

// A C string as the characters libxml2 takes.
inline const xmlChar* xml(const char* s)
{
    return reinterpret_cast<const xmlChar*>(s);
}
