#pragma once

#include <QString>
#include <optional>

// The hexadecimal form in which "ZTFI.ini" remembers the GnuPG pass phrase.
namespace PassPhraseCodec {

// Every byte of the pass phrase (UTF-8) becomes two upper-case hexadecimal digits, in order;
// the empty pass phrase encodes as the empty text.
QString encode(const QString& passPhrase);

// Takes the text two characters at a time from the start; each pair, in either case, is one
// byte. A last single character of an odd-length text is ignored. The bytes are read as UTF-8
// when valid, else as Windows-1250 (as older files hold them). nullopt when a pair is not
// hexadecimal.
std::optional<QString> decode(const QString& hex);

}  // namespace PassPhraseCodec
