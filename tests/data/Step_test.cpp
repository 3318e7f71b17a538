#include "support/FixtureDb.h"
#include "core/Error.h"
#include "data/engine/ScalarQuery.h"
#include "data/Step.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace fixture;

namespace {

int rowCount(FixtureDb& db)
{
    return db.value(QStringLiteral("SELECT count(*) FROM DPATVPPSL")).toInt();
}

QString stepFailure(Connection& connection, const QString& message, StepCause cause,
                    const std::function<void()>& body)
{
    try {
        runStep(connection, message, body, cause);
    } catch (const ZtfiError& error) {
        return error.message();
    }
    return QStringLiteral("<no error>");
}

}  // namespace

TEST(Step, FailedStepRollsBackOnlyItself)
{
    FixtureDb db;
    runStep(db.connection(), QStringLiteral("Napaka pri insertu v DPATVPPSL (faza 1)!"),
            [&] { db.selected({.report = 1, .trade = 10}); });
    EXPECT_THROW(runStep(db.connection(), QStringLiteral("Napaka pri insertu v DPATVPPSL (faza 2)!"),
                         [&] {
                             db.selected({.report = 1, .trade = 11});
                             db.selected({.report = 1, .trade = 10});  // duplicate key
                         }),
                 ZtfiError);
    EXPECT_FALSE(db.connection().inTransaction());
    EXPECT_EQ(rowCount(db), 1);
    EXPECT_EQ(db.value(QStringLiteral("SELECT IDPSL FROM DPATVPPSL")).toInt(), 10);

    // The connection goes on working for the next step.
    runStep(db.connection(), QStringLiteral("Napaka pri insertu v DPATVPPSL (faza 3)!"),
            [&] { db.selected({.report = 1, .trade = 12}); });
    EXPECT_EQ(rowCount(db), 2);
}

TEST(Step, MessageQuotesTheCauseAsTheStepRequires)
{
    FixtureDb db;
    const auto failingStatement = [&] {
        selectValue(db.connection(), QStringLiteral("SELECT x FROM NEOBSTOJECA"), QStringLiteral("x"));
    };
    const QString cause = QStringLiteral("no such table: NEOBSTOJECA");
    EXPECT_EQ(stepFailure(db.connection(), QStringLiteral("Napaka pri brisanju iz DPATVP!"), StepCause::OnNextLine,
                          failingStatement),
              QStringLiteral("Napaka pri brisanju iz DPATVP!\n") + cause);
    // An error without a text, or with the step's own, adds no line.
    for (const QString& text : {QString(), QStringLiteral("Napaka pri brisanju iz DPATVP!")}) {
        EXPECT_EQ(stepFailure(db.connection(), QStringLiteral("Napaka pri brisanju iz DPATVP!"), StepCause::OnNextLine,
                              [&] { throw ZtfiError(text); }),
                  QStringLiteral("Napaka pri brisanju iz DPATVP!"));
    }
    EXPECT_EQ(stepFailure(db.connection(), QStringLiteral("Napaka pri insertu v DPATVPPSL (faza 1)!"),
                          StepCause::Appended, failingStatement),
              QStringLiteral("Napaka pri insertu v DPATVPPSL (faza 1)!") + cause);
    EXPECT_EQ(stepFailure(db.connection(), QStringLiteral("Napaka pri insertu v DPATVP_SFVP! "),
                          StepCause::Appended, failingStatement),
              QStringLiteral("Napaka pri insertu v DPATVP_SFVP! ") + cause);
    EXPECT_EQ(stepFailure(db.connection(), QStringLiteral("Napaka pri insertu v DPATVPPSL (faza 2)!"),
                          StepCause::WithKind, failingStatement),
              QStringLiteral("Napaka pri insertu v DPATVPPSL (faza 2)!\nEDatabaseError\n") + cause);
    EXPECT_EQ(stepFailure(db.connection(), QStringLiteral("Napaka pri popravku v DPATVP!"), StepCause::WithKind,
                          [] { throw std::runtime_error("bad value"); }),
              QStringLiteral("Napaka pri popravku v DPATVP!\nException\nbad value"));
    EXPECT_FALSE(db.connection().inTransaction());
}
