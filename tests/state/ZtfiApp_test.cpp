#include "state/ZtfiApp.h"

#include "support/ScriptedInteraction.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Points ZTFI_HOME at a temporary program folder for the life of the test.
class ZtfiAppTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved_ = qgetenv("ZTFI_HOME");
        hadHome_ = qEnvironmentVariableIsSet("ZTFI_HOME");
        qputenv("ZTFI_HOME", QFile::encodeName(dir_.path()));
    }
    void TearDown() override
    {
        if (hadHome_)
            qputenv("ZTFI_HOME", saved_);
        else
            qunsetenv("ZTFI_HOME");
    }

    QTemporaryDir dir_;
    ScriptedInteraction ui_;

private:
    QByteArray saved_;
    bool hadHome_ = false;
};

TEST_F(ZtfiAppTest, ReadsConfigurationFromProgramFolder)
{
    QFile ini(dir_.filePath(QStringLiteral("ZTFI.ini")));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[Splo\x9Ano]\r\nTip=DB2\r\nATVP_Uporabnik=ATVP\r\n");
    ini.close();

    ZtfiApp app({QStringLiteral("lb"), QStringLiteral("oxu"), QStringLiteral("geslo"), QStringLiteral("ana")}, ui_);
    app.readConfiguration();

    EXPECT_EQ(app.programFolder(), dir_.path() + QLatin1Char('/'));
    EXPECT_EQ(app.dataModule().databaseName(), QStringLiteral("LB"));
    EXPECT_EQ(app.params().auditUser, QStringLiteral("ana"));
    EXPECT_TRUE(app.config().isDb2());
    EXPECT_EQ(app.config().PDF_Server, app.programFolder());
    EXPECT_EQ(ui_.calls(), std::vector<ScriptedInteraction::Call>());
}

TEST_F(ZtfiAppTest, ResetClearsSelectionAndRegeneration)
{
    ZtfiApp app({}, ui_);
    app.selection = {QStringLiteral("01.02.2026-03.02.2026"), 17, true};
    app.regeneration = {true, 2, 5, QDate(2026, 2, 3), QDate(2026, 2, 2)};

    app.resetRunState();

    EXPECT_TRUE(app.selection.rangeKey.isEmpty());
    EXPECT_EQ(app.selection.FMaxDpAtvpId, 0);
    EXPECT_FALSE(app.selection.hasRegularRows);
    EXPECT_FALSE(app.regeneration.active);
    EXPECT_EQ(app.regeneration.previousStatus, 0);
    EXPECT_EQ(app.regeneration.previousSerial, 0);
    EXPECT_FALSE(app.regeneration.previousDate.isValid());
    EXPECT_FALSE(app.regeneration.firstDay.isValid());
}

}  // namespace
