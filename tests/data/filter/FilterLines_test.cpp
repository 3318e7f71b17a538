#include "data/filter/FilterLines.h"

#include "core/Error.h"

#include <gtest/gtest.h>

#include <QDate>

namespace {

// The fields of a small dataset: A, B, C integers, F float, D date, T date-time, L Boolean,
// S a string of 20, NAZIV a string of the size the case asks for.
class Fields : public FilterFieldSource {
public:
    explicit Fields(int nazivSize = 20)
        : fields_{{"A", FieldType::Integer, 0},  {"B", FieldType::Integer, 0},
                  {"C", FieldType::Integer, 0},  {"F", FieldType::Float, 0},
                  {"D", FieldType::Date, 0},     {"T", FieldType::DateTime, 0},
                  {"L", FieldType::Boolean, 0},  {"S", FieldType::String, 20},
                  {"NAZIV", FieldType::String, nazivSize}}
    {
    }

    std::optional<FilterField> findFilterField(const QString& name) const override
    {
        for (const FilterField& f : fields_)
            if (f.name.compare(name, Qt::CaseInsensitive) == 0)
                return f;
        return std::nullopt;
    }

private:
    QList<FilterField> fields_;
};

struct BuildCase {
    const char* what;
    QStringList lines;
    QList<std::pair<QString, QVariant>> paramValues;
    bool sqlServer;
    bool caseInsensitive;
    int nazivSize;
    QString expected;
};

QString withPrefixEnd(const char* text)
{
    return QString::fromUtf8(text).replace(QStringLiteral("~"), QString(filterPrefixEnd()));
}

BuiltFilter build(FilterLines& filter, const Fields& fields, const FilterBuildOptions& options)
{
    filter.parse(fields);
    return buildFilterText(filter.conditions(), filter.params(), options);
}

}  // namespace

TEST(FilterLines, BuildsTheFilterTextOfTheLines)
{
    const QVariant null;
    const QList<BuildCase> cases = {
        {"LIKE on a server, string longer than the prefix", {"NAZIV like abc"}, {}, true, false,
         20, withPrefixEnd("((NAZIV>='ABC' AND NAZIV<='ABC~'))")},
        {"LIKE on a server, prefix fills the string", {"NAZIV like abc"}, {}, true, false, 3,
         "((NAZIV>='ABC' AND NAZIV<='ABC'))"},
        {"LIKE on a non-string field", {"A LIKE 1"}, {}, true, false, 20,
         withPrefixEnd("((A>='1' AND A<='1~'))")},
        {"LIKE, case-insensitive filter", {"NAZIV LIKE abc"}, {}, true, true, 20,
         "((NAZIV='ABC*'))"},
        {"LIKE on a file-based engine keeps the case", {"NAZIV LIKE abc"}, {}, false, false, 20,
         "((NAZIV = 'abc*'))"},
        {"OR inside a group, lines joined by AND", {"A = 1 OR B = 2", "C <> 3"}, {}, true, false,
         20, "((A = 1 OR B = 2)) AND ((C <> 3))"},
        {"keywords and field names in any case, runs of blanks, blank lines",
         {"a   =  1 or b = 2", "   ", "", "c <> 3 AnD s = x"}, {}, true, false, 20,
         "((A = 1 OR B = 2)) AND ((C <> 3)) AND ((S = x))"},
        {"NULL parameter drops its condition and the link after it",
         {"A = :P OR B = 2"}, {{"P", null}}, true, false, 20, "((B = 2))"},
        {"NULL parameter drops its condition and the link before it",
         {"A = 1 OR B = :P OR C = 3"}, {{"P", null}}, true, false, 20, "((A = 1 OR C = 3))"},
        {"every condition NULL gives no text", {"A = :P", "B = :Q"}, {}, true, false, 20, ""},
        {"empty string parameter with =", {"S = :P"}, {{"P", QString("")}}, true, false, 20,
         "((S = ' '))"},
        {"empty string parameter with LIKE drops the condition", {"S LIKE :P AND A = 1"},
         {{"P", QString("")}}, true, false, 20, "((A = 1))"},
        {"day zero with LIKE drops the condition", {"D LIKE :P", "A = 1"},
         {{"P", QDate(1899, 12, 30)}}, true, false, 20, "((A = 1))"},
        {"value in double quotes ends in single quotes", {"S = \"x\""}, {}, true, false, 20,
         "((S = 'x'))"},
        {"empty literal becomes a quoted blank", {"S = ''"}, {}, true, false, 20, "((S = ' '))"},
        {"quote inside a parameter value cannot end the literal", {"S = :P"},
         {{"P", QString("x' OR 'a'='a")}}, true, false, 20, "((S = 'x'' OR ''a''=''a'))"},
        {"quote inside a LIKE prefix", {"NAZIV LIKE :P"}, {{"P", QString("o'b")}}, true, false,
         20, withPrefixEnd("((NAZIV>='O''B' AND NAZIV<='O''B~'))")},
        {"integer parameter", {"A >= :P"}, {{"P", 17}}, true, false, 20, "((A >= 17))"},
        {"float parameter with a decimal point", {"F < :P"}, {{"P", 2.5}}, true, false, 20,
         "((F < 2.5))"},
        {"number parameters given as the system writes them", {"F < :P OR A = :Q"},
         {{"P", QString("2,5")}, {"Q", QString(" 12")}}, true, false, 20,
         "((F < 2.5 OR A = 12))"},
        {"whole float without decimals", {"F = :P"}, {{"P", 3.0}}, true, false, 20,
         "((F = 3))"},
        {"date parameter", {"D = :P"}, {{"P", QDate(2026, 1, 5)}}, true, false, 20,
         "((D = '05.01.2026'))"},
        {"date parameter given as text", {"D = :P"}, {{"P", QString("5.1.2026")}}, true, false,
         20, "((D = '05.01.2026'))"},
        {"date-time parameter", {"T = :P"},
         {{"P", QDateTime(QDate(2026, 1, 5), QTime(15, 45, 10))}}, true, false, 20,
         "((T = '05.01.2026 15:45:10'))"},
        {"Boolean parameter", {"L = :P"}, {{"P", true}}, true, false, 20, "((L = 'True'))"},
        {"parameter names in any case", {"A = :p OR B = :P"}, {{"P", 4}}, true, false, 20,
         "((A = 4 OR B = 4))"},
    };
    for (const BuildCase& c : cases) {
        SCOPED_TRACE(c.what);
        const Fields fields(c.nazivSize);
        FilterLines filter;
        filter.setLines(c.lines);
        filter.parse(fields);
        for (const auto& [name, value] : c.paramValues)
            EXPECT_TRUE(filter.params().setValue(name, value)) << name.toStdString();
        const BuiltFilter built = buildFilterText(filter.conditions(), filter.params(),
                                                  {c.sqlServer, c.caseInsensitive});
        EXPECT_EQ(built.text().toStdString(), c.expected.toStdString());
        EXPECT_EQ(built.caseInsensitive, c.sqlServer && c.caseInsensitive);
    }
}

TEST(FilterLines, RejectsFaultyLinesWithTheSystemsMessages)
{
    const QList<std::pair<QString, QString>> cases = {
        {"A = 1 OR", "Invalid TFilter syntax :A = 1 OR"},
        {"A = 1 OR B", "Invalid TFilter syntax :A = 1 OR B"},
        {" A =", "Invalid TFilter syntax : A ="},
        {"X = 1", "Unknown TFilter field : X"},
        {"A = 1 OR x = 2", "Unknown TFilter field : x"},
        {"A like2 1", "Unknown TFilter operator :LIKE2"},
        {"A == 1", "Unknown TFilter operator :=="},
        {"A = 1 xor B = 2", "Invalid TFilter link :XOR"},
    };
    const Fields fields;
    for (const auto& [line, message] : cases) {
        SCOPED_TRACE(line.toStdString());
        FilterLines filter;
        filter.setLines({"B = 2", line});
        try {
            filter.parse(fields);
            ADD_FAILURE() << "no error";
        } catch (const ZtfiError& e) {
            EXPECT_EQ(e.message().toStdString(), message.toStdString());
            EXPECT_EQ(e.className().toStdString(), "Exception");
        }
        EXPECT_FALSE(filter.isParsed());
        EXPECT_TRUE(filter.conditions().isEmpty());
    }
}

TEST(FilterLines, AParameterValueItsTypeCannotHoldIsAnError)
{
    const Fields fields;
    FilterLines filter;
    filter.setLines({"A = :P"});
    filter.parse(fields);
    filter.params().setValue("P", QString("abc"));
    EXPECT_THROW(buildFilterText(filter.conditions(), filter.params(), {}), ZtfiError);
}

TEST(FilterLines, ParametersTakeTheFieldTypeAndKeepTheirValuesByName)
{
    const Fields fields;
    FilterLines filter;
    filter.setLines({"A = :Num OR S = :Txt"});
    filter.parse(fields);
    ASSERT_EQ(filter.params().items().size(), 2);
    EXPECT_EQ(filter.params().find("num")->dataType, FieldType::Integer);
    EXPECT_EQ(filter.params().find("TXT")->dataType, FieldType::String);
    filter.params().setValue("Num", 7);
    filter.params().setValue("Txt", QString("abc"));

    // New lines: the parameter still named keeps its value, the other is gone, a new one is NULL.
    filter.setLines({"D = :Txt AND B = :Other"});
    EXPECT_FALSE(filter.isParsed());
    filter.parse(fields);
    EXPECT_TRUE(filter.isParsed());
    ASSERT_EQ(filter.params().items().size(), 2);
    EXPECT_EQ(filter.params().find("Txt")->dataType, FieldType::Date);
    EXPECT_EQ(filter.params().find("Txt")->value, QVariant(QString("abc")));
    EXPECT_TRUE(filter.params().find("Other")->isNull());
    EXPECT_EQ(filter.params().find("Num"), nullptr);

    // A failed parse leaves the parameters as they were.
    filter.setLines({"A = :Fresh", "NOSUCH = 1"});
    EXPECT_THROW(filter.parse(fields), ZtfiError);
    ASSERT_EQ(filter.params().items().size(), 2);
    EXPECT_EQ(filter.params().find("Txt")->value, QVariant(QString("abc")));
    EXPECT_EQ(filter.params().find("Fresh"), nullptr);
}

TEST(FilterLines, WeightCountsTheKindsOfTheParametersThatAreSet)
{
    FilterParams params;
    params.add("In1", FieldType::Integer);
    params.add("In2", FieldType::Integer);
    params.add("Io", FieldType::Integer, FilterParam::Kind::InputOutput);
    params.add("Unk", FieldType::Integer, FilterParam::Kind::Unknown);
    EXPECT_EQ(params.weight(), 0);  // all NULL: below a threshold of 1
    params.setValue("In1", 1);
    params.setValue("Unk", 1);
    EXPECT_EQ(params.weight(), 1);
    params.setValue("Io", 0);
    EXPECT_EQ(params.weight(), 4);
    params.setValue("In1", QVariant());
    EXPECT_EQ(params.weight(), 3);
}

TEST(FilterLines, KeyRangeOverTheLeadingSortFields)
{
    struct RangeCase {
        const char* what;
        QStringList lines;
        QString sortFields;
        QStringList start;
        QStringList end;
    };
    const QList<RangeCase> cases = {
        {"equality on every sort field", {"A = 1 AND b = 2"}, "A;B", {"1", "2"}, {"1", "2"}},
        {"a lower bound alone stops at that field", {"A >= 1", "B = 2"}, "A;B", {"1"}, {}},
        {"an upper bound alone", {"A < 9"}, "A;B", {}, {"9"}},
        {"both bounds from two conditions", {"A > 1", "A <= 9", "B = 2"}, "A;B", {"1", "2"},
         {"9", "2"}},
        {"no condition on the first sort field", {"B = 2"}, "A;B", {}, {}},
        {"a differing later value ends the scan", {"A = 1 OR A = 2"}, "A", {"1"}, {"1"}},
        {"the scan ends at the differing value", {"A <= 5", "A = 3", "A > 1"}, "A", {}, {"5"}},
        {"the same value in another case does not", {"S = abc", "S <= ABC", "S >= x"}, "s",
         {"abc"}, {"abc"}},
        {"<> gives no bound", {"A <> 1"}, "A", {}, {}},
        {"LIKE on a file-based engine", {"NAZIV LIKE abc"}, "NAZIV", {"abc"},
         {withPrefixEnd("abc~")}},
    };
    const Fields fields;
    for (const RangeCase& c : cases) {
        SCOPED_TRACE(c.what);
        FilterLines filter;
        filter.setLines(c.lines);
        const BuiltFilter built = build(filter, fields, {false, false});
        const KeyRange range = filterKeyRange(built.rangeConditions, c.sortFields.split(';'));
        EXPECT_EQ(range.start, c.start);
        EXPECT_EQ(range.end, c.end);
    }
}

TEST(FilterLines, EmptyResultConditionByKeyFieldType)
{
    const QList<FilterField> keys = {{"S", FieldType::String, 10},  {"I", FieldType::Integer, 0},
                                     {"F", FieldType::Float, 0},    {"D", FieldType::Date, 0},
                                     {"T", FieldType::DateTime, 0}, {"L", FieldType::Boolean, 0}};
    EXPECT_EQ(emptyResultCondition(keys),
              QString("S = '") + QChar(0xFF)
                  + "' AND I = 0 AND F = 0 AND D = '30.12.1899' AND T = '30.12.1899'");
    EXPECT_EQ(emptyResultCondition({{"L", FieldType::Boolean, 0}}), QString());
}
