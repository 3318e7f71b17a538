#include "reporting/FieldFormat.h"

#include "core/Error.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>
#include <optional>

namespace {

struct FormatCase {
    const char* what;
    std::optional<CheckedField> field;
    QString format;
    QString suffix;
    QString prefix;
    QString expected;  // the result; empty when the check must fail
    QString error;     // the error text when it must fail
};

void PrintTo(const FormatCase& c, std::ostream* os)
{
    *os << c.what;
}

const QString kRef = QStringLiteral("900000012345");

CheckedField field(const char* name, const char* label, const QString& text)
{
    return CheckedField{QString::fromUtf8(name), QString::fromUtf8(label), text};
}

class ProveraFormataCases : public testing::TestWithParam<FormatCase> {};

TEST_P(ProveraFormataCases, ChecksCutsAndNormalises)
{
    const FormatCase& c = GetParam();
    const CheckedField* f = c.field ? &*c.field : nullptr;
    if (c.error.isEmpty()) {
        EXPECT_EQ(ProveraFormata(kRef, f, c.format, c.suffix, c.prefix), c.expected);
        return;
    }
    try {
        ProveraFormata(kRef, f, c.format, c.suffix, c.prefix);
        FAIL() << "no error";
    } catch (const ZtfiError& e) {
        EXPECT_EQ(e.message(), c.error);
    }
}

const QString kLetters = QStringLiteral("\u0160\u017D\u0161\u017E\u0106\u010C\u0110\u0107\u010D\u0111");

INSTANTIATE_TEST_SUITE_P(
    Table, ProveraFormataCases,
    testing::Values(
        // The offset check: no field, the row's offset as prefix.
        FormatCase{"offset fits", std::nullopt, "1(S)2(n)", {}, "+01", "+01", {}},
        FormatCase{"offset without sign", std::nullopt, "1(S)2(n)", {}, "01", {},
                   "Napaka: Za Ref.St.Transakcije 900000012345  polje TRG.OFFSET podatek '01' ni formata 1(S)2(n)!"},
        FormatCase{"offset with a letter", std::nullopt, "1(S)2(n)", {}, "+1A", {},
                   "Napaka: Za Ref.St.Transakcije 900000012345  polje TRG.OFFSET podatek '+1A' ni formata 1(S)2(n)!"},
        FormatCase{"missing third character is not tested", std::nullopt, "1(S)2(n)", {}, "+1", "+1", {}},
        FormatCase{"two groups never cut", std::nullopt, "1(S)2(n)", {}, "-0123", "-0123", {}},
        FormatCase{"no field, other format", std::nullopt, "4(a)", "X1", "AB", {},
                   "Napaka: Za Ref.St.Transakcije 900000012345  podatek 'ABX1' ni formata 4(a)!"},
        // Single-group formats cut to their count.
        FormatCase{"13 digits cut to 12", field("RefStTransa", "", "1234567890123"), "12(n)", {}, {},
                   "123456789012", {}},
        FormatCase{"prefix and zeros", field("RefStTransa", "", "12345"), "12(n)", {}, "9000000",
                   "900000012345", {}},
        FormatCase{"name cut to 40", field("IMEINSTRUMENTA", "Ime instrumenta", QString(50, QLatin1Char('k'))),
                   "40(x)", {}, {}, QString(40, QLatin1Char('k')), {}},
        FormatCase{"failing value is reported cut", field("RefStTransa", "Referenčna št. transakcije", "12a4567890123"),
                   "12(n)", {}, {}, {},
                   "Napaka: Za Ref.St.Transakcije 900000012345  polje 'Referenčna št. transakcije\r\n' podatek "
                   "'12a456789012' ni formata 12(n)!"},
        // Decimal numbers: read with the decimal comma, written "0.#####" with a point.
        FormatCase{"twelve and a half", field("CenaEnote", "Cena enote", "12,5"), "1(d)", {}, {}, "12.5", {}},
        FormatCase{"whole number", field("CenaEnote", "Cena enote", "3"), "1(d)", {}, {}, "3", {}},
        FormatCase{"five decimals, rounded", field("CenaEnote", "Cena enote", "0,123456"), "1(d)", {}, {}, "0.12346", {}},
        FormatCase{"trailing zeros dropped", field("Lot", "Količina", "1500,000"), "1(d)", {}, {}, "1500", {}},
        FormatCase{"large number is not cut", field("Lot", "Količina", "12345678901234"), "1(d)", {}, {},
                   "12345678901234", {}},
        FormatCase{"negative price", field("CenaEnote", "Cena enote", "-12,5"), "1(d)", {}, {}, {},
                   "Napaka: Za Ref.St.Transakcije 900000012345  polje 'Cena enote\r\n' podatek '-12.5' ni formata 1(d)!"},
        // ISIN: trimmed and cut to 12 before the test; "N" is not tested.
        FormatCase{"ISIN trimmed and cut", field("ISIN", "Identifikacija instrumenta ISIN", "  SI0031102120XY  "),
                   "2(a)9(x)1(n)", {}, {}, "SI0031102120", {}},
        FormatCase{"ISIN of any middle characters", field("ISIN", "", "XS12AB-.9Z/7"), "2(a)9(x)1(n)", {}, {},
                   "XS12AB-.9Z/7", {}},
        FormatCase{"ISIN ending in a letter", field("ISIN", "Identifikacija instrumenta ISIN", "SI003110212A"),
                   "2(a)9(x)1(n)", {}, {}, {},
                   "Napaka: Za Ref.St.Transakcije 900000012345  polje 'Identifikacija instrumenta ISIN\r\n' podatek "
                   "'SI003110212A' ni formata 2(a)9(x)1(n)!"},
        FormatCase{"ISIN N", field("ISIN", "", " N "), "2(a)9(x)1(n)", {}, {}, "N", {}},
        FormatCase{"other field is not trimmed", field("IdentMesta", "Identifikacija mesta", " XLJU "), "20(x)", {}, {},
                   " XLJU ", {}},
        FormatCase{"SWIFT fields are trimmed", field("NS_SWIFT", "", " LJBASI2X "), "11(x)", {}, {}, "LJBASI2X", {}},
        // Letters.
        FormatCase{"CFI of six letters", field("TIPINSTR", "", "ESVUFR"), "6(a)", {}, {}, "ESVUFR", {}},
        FormatCase{"CFI with suffix", field("TIPINSTR", "", "ES"), "6(a)", "XXXX", {}, "ESXXXX", {}},
        FormatCase{"CFI with a digit", field("TIPINSTR", "Tip instrumenta", "ES1UFR"), "6(a)", {}, {}, {},
                   "Napaka: Za Ref.St.Transakcije 900000012345  polje 'Tip instrumenta\r\n' podatek 'ES1UFR' ni "
                   "formata 6(a)!"},
        FormatCase{"currency in lower case", field("Valuta", "", "eur"), "3(a)", {}, {}, "eur", {}},
        FormatCase{"Slovenian letters", field("X", "", kLetters), "10(a)", {}, {}, kLetters, {}},
        FormatCase{"label missing: the name", field("Valuta", "", "E1R"), "3(a)", {}, {}, {},
                   "Napaka: Za Ref.St.Transakcije 900000012345  polje 'Valuta\r\n' podatek 'E1R' ni formata 3(a)!"},
        FormatCase{"unknown kind tests nothing but moves on", field("X", "", "??12"), "2(q)2(n)", {}, {}, "??12", {}},
        FormatCase{"empty value passes letters", field("X", "", ""), "1(a)", {}, {}, "", {}},
        // The other forms of a number.
        FormatCase{"comma at the end", field("Lot", "Količina", "5,"), "1(d)", {}, {}, "5", {}},
        FormatCase{"comma at the start", field("Lot", "Količina", ",5"), "1(d)", {}, {}, "0.5", {}},
        FormatCase{"blanks around", field("Lot", "Količina", " 7,25 "), "1(d)", {}, {}, "7.25", {}},
        FormatCase{"exponent", field("Lot", "Količina", "1,5e2"), "1(d)", {}, {}, "150", {}}),
    [](const testing::TestParamInfo<FormatCase>& info) { return "case" + std::to_string(info.index); });

TEST(ProveraFormata, NonNumberForDecimalIsAConversionError)
{
    for (const QString& text : {QStringLiteral(""), QStringLiteral("abc"), QStringLiteral("12.5"), QStringLiteral(","),
                                QStringLiteral("1,2,3"), QStringLiteral("1 2")}) {
        const CheckedField f{QStringLiteral("CenaEnote"), QStringLiteral("Cena enote"), text};
        try {
            ProveraFormata(kRef, &f, QStringLiteral("1(d)"));
            FAIL() << text.toStdString();
        } catch (const ZtfiError& e) {
            EXPECT_EQ(e.className(), QStringLiteral("EConvertError")) << text.toStdString();
            EXPECT_FALSE(e.message().startsWith(QStringLiteral("Napaka"))) << text.toStdString();
        }
    }
}

}  // namespace
