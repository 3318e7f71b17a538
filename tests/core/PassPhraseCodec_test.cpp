#include "core/PassPhraseCodec.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>
#include <ostream>

namespace {

struct DecodeCase {
    const char* name;
    QString hex;
    std::optional<QString> expected;
};

void PrintTo(const DecodeCase& c, std::ostream* os) { *os << c.name; }

class PassPhraseDecode : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(PassPhraseDecode, DecodesPairs)
{
    EXPECT_EQ(PassPhraseCodec::decode(GetParam().hex), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, PassPhraseDecode,
    ::testing::Values(
        DecodeCase{"Empty", "", QString()},
        DecodeCase{"OnePair", "41", QStringLiteral("A")},
        DecodeCase{"OddLengthIgnoresLastDigit", "414", QStringLiteral("A")},
        DecodeCase{"SingleDigit", "4", QString()},
        DecodeCase{"MixedCase", "4a6B", QStringLiteral("Jk")},
        DecodeCase{"Utf8Bytes", "C48D", QStringLiteral("č")},
        DecodeCase{"Windows1250Byte", "E8", QStringLiteral("č")},
        DecodeCase{"BadPair", "414G", std::nullopt},
        DecodeCase{"SignIsNotADigit", "+1", std::nullopt},
        DecodeCase{"BlankIsNotADigit", " 1", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PassPhraseEncode, WritesUpperCaseHexThatDecodesBack)
{
    EXPECT_EQ(PassPhraseCodec::encode(QString()), QString());
    EXPECT_EQ(PassPhraseCodec::encode(QStringLiteral("Jk")), QStringLiteral("4A6B"));
    const QString passPhrase = QStringLiteral("Geslo čšž 12!");
    EXPECT_EQ(PassPhraseCodec::decode(PassPhraseCodec::encode(passPhrase)), passPhrase);
}

}  // namespace
