#include "core/PassPhraseCodec.h"

#include "core/Windows1250.h"

#include <QByteArray>
#include <QStringDecoder>

namespace {

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    return -1;
}

}  // namespace

namespace PassPhraseCodec {

QString encode(const QString& passPhrase)
{
    return QString::fromLatin1(passPhrase.toUtf8().toHex()).toUpper();
}

std::optional<QString> decode(const QString& hex)
{
    QByteArray bytes;
    for (qsizetype i = 0; i + 1 < hex.size(); i += 2) {
        const int high = hexDigit(hex.at(i));
        const int low = hexDigit(hex.at(i + 1));
        if (high < 0 || low < 0)
            return std::nullopt;
        bytes.append(static_cast<char>(high * 16 + low));
    }
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    const QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    return Windows1250::decode(bytes);
}

}  // namespace PassPhraseCodec
