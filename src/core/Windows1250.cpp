#include "core/Windows1250.h"

#include "core/Error.h"

#include <cstring>
#include <iconv.h>

namespace {

constexpr const char* kCodePage = "WINDOWS-1250";

// One iconv conversion descriptor, closed when it goes out of scope.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from))
    {
        if (cd_ == reinterpret_cast<iconv_t>(-1))
            throw ZtfiError(QStringLiteral("iconv cannot convert %1 to %2")
                                .arg(QLatin1String(from), QLatin1String(to)));
    }
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts in place as far as it can; returns false (errno set) where it stopped early.
    bool convert(char** in, size_t* inLeft, char** out, size_t* outLeft)
    {
        return iconv(cd_, in, inLeft, out, outLeft) != static_cast<size_t>(-1);
    }

private:
    iconv_t cd_;
};

}  // namespace

namespace Windows1250 {

QString decode(const QByteArray& bytes)
{
    Converter converter("UTF-8", kCodePage);
    // A single byte of the code page takes at most three bytes of UTF-8.
    QByteArray utf8(bytes.size() * 3 + 3, '\0');
    QByteArray input = bytes;
    char* in = input.data();
    size_t inLeft = static_cast<size_t>(input.size());
    char* out = utf8.data();
    size_t outLeft = static_cast<size_t>(utf8.size());
    while (inLeft > 0 && !converter.convert(&in, &inLeft, &out, &outLeft)) {
        // An undefined byte (0x81, 0x83, 0x88, 0x90, 0x98): replace it and go on.
        static constexpr char kReplacement[] = "\xEF\xBF\xBD";  // U+FFFD in UTF-8
        std::memcpy(out, kReplacement, 3);
        out += 3;
        outLeft -= 3;
        ++in;
        --inLeft;
    }
    utf8.truncate(static_cast<qsizetype>(out - utf8.data()));
    return QString::fromUtf8(utf8);
}

std::optional<QByteArray> encode(const QString& text)
{
    Converter converter(kCodePage, "UTF-8");
    QByteArray input = text.toUtf8();
    QByteArray result(input.size() + 1, '\0');
    char* in = input.data();
    size_t inLeft = static_cast<size_t>(input.size());
    char* out = result.data();
    size_t outLeft = static_cast<size_t>(result.size());
    if (!converter.convert(&in, &inLeft, &out, &outLeft))
        return std::nullopt;
    result.truncate(static_cast<qsizetype>(out - result.data()));
    return result;
}

}  // namespace Windows1250
