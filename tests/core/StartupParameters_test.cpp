#include "core/StartupParameters.h"
#include "data/engine/TDMLB.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>
#include <ostream>
#include <vector>

namespace {

struct ParameterCase {
    const char* name;
    QStringList arguments;
    QString alias;
    QString user;
    QString password;
    QString auditUser;
    QString databaseName;
};

void PrintTo(const ParameterCase& c, std::ostream* os) { *os << c.name; }

class StartupParameterCount : public ::testing::TestWithParam<ParameterCase> {};

TEST_P(StartupParameterCount, TakesParametersByTheirCount)
{
    const ParameterCase& c = GetParam();
    const TDMLB dm(c.arguments, QStringLiteral("/opt/ztfi/"));

    EXPECT_EQ(dm.params().count, c.arguments.size());
    EXPECT_EQ(dm.params().alias, c.alias);
    EXPECT_EQ(dm.params().user, c.user);
    EXPECT_EQ(dm.params().password, c.password);
    EXPECT_EQ(dm.params().auditUser, c.auditUser);
    EXPECT_EQ(dm.connectionParams(),
              QStringList({QStringLiteral("USER NAME=") + c.user, QStringLiteral("PASSWORD=") + c.password}));
    EXPECT_EQ(dm.databaseName(), c.databaseName);
    EXPECT_EQ(dm.programFolder(), QStringLiteral("/opt/ztfi/"));
}

INSTANTIATE_TEST_SUITE_P(
    Counts, StartupParameterCount,
    ::testing::Values(
        ParameterCase{"None", {}, "", "", "", "", ""},
        ParameterCase{"One", {"lb"}, "", "", "", "", ""},
        ParameterCase{"Two", {"lb", "oxu"}, "", "", "", "", ""},
        ParameterCase{"Three", {"lb", "oxu", "geslo"}, "lb", "oxu", "geslo", "", "LB"},
        ParameterCase{"Four", {"lb", "oxu", "geslo", "ana"}, "lb", "oxu", "geslo", "ana", "LB"},
        ParameterCase{"Five", {"lb", "oxu", "geslo", "ana", "x"}, "lb", "oxu", "geslo", "", "LB"}),
    [](const auto& info) { return std::string(info.param.name); });

// Options that Qt's application object takes for itself arrive as the back-office menu passed
// them: "-style" as the password and "-reverse" as the audit user, among others.
TEST(CommandLineParameters, ArriveUnchangedWhateverQtWouldTakeForItself)
{
    const struct {
        std::vector<const char*> argv;
        QStringList parameters;
    } cases[] = {
        {{"ztfi", "ZTFI", "user", "-style", "audit"},
         {QStringLiteral("ZTFI"), QStringLiteral("user"), QStringLiteral("-style"), QStringLiteral("audit")}},
        {{"ztfi", "-platform", "offscreen", "-reverse", "ana"},
         {QStringLiteral("-platform"), QStringLiteral("offscreen"), QStringLiteral("-reverse"), QStringLiteral("ana")}},
        {{"ztfi", "LB", "uporabnik", "geslo \"š\"", "-qwindowgeometry"},
         {QStringLiteral("LB"), QStringLiteral("uporabnik"), QStringLiteral("geslo \"š\""), QStringLiteral("-qwindowgeometry")}},
        {{"ztfi"}, {}},
    };
    for (const auto& c : cases) {
        const QStringList parameters = commandLineParameters(int(c.argv.size()), c.argv.data());
        EXPECT_EQ(parameters, c.parameters);
        const StartupParameters params = StartupParameters::fromArguments(parameters);
        EXPECT_EQ(params.count, c.parameters.size());
        EXPECT_EQ(params.auditUser, c.parameters.size() == 4 ? c.parameters[3] : QString());
    }
}

}  // namespace
