#pragma once

#include "core/Config.h"
#include "data/dataset/AuditTrail.h"
#include "data/dataset/TDMTable.h"
#include "support/FixtureDb.h"
#include "support/GpgTestHome.h"
#include "support/ScriptedInteraction.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QTemporaryDir>

#include <memory>

// What the signing tests share: a GnuPG home made once per suite, a program folder, two
// server folders, a fixture database with the register table component of DPATVP audited by
// the audit trail, and a configuration that points at all of them. The database is an
// embedded one unless a story gives the engine.
class SigningFixture : public ::testing::Test {
protected:
    explicit SigningFixture(Connection::Engine engine = Connection::Engine::Sqlite) : db_(engine) {}

    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;

    QString programFolder() const { return program_.path() + QLatin1Char('/'); }
    QString inProgram(const QString& file) const { return program_.filePath(file); }
    QString inXmlServer(const QString& file) const { return xmlServer_.filePath(file); }
    QString inSigServer(const QString& file) const { return sigServer_.filePath(file); }

    // Writes a file into a folder and returns its path.
    static QString writeFile(const QString& path, const QByteArray& content);
    // The credentials of the firm's key, as the dialog returns them.
    static Interaction::SigningCredentials firmCredentials();

    // The send date of a register row, to the second; invalid while it has none.
    QDateTime sentAt(qint64 id, int serial);
    // The audit rows of DPATVP, each as its kind followed by the row content.
    QStringList auditedWrites();

    static std::unique_ptr<GpgTestHome> home_;
    QTemporaryDir program_;
    QTemporaryDir xmlServer_;
    QTemporaryDir sigServer_;
    FixtureDb db_;
    AuditTrail audit_{db_.connection(), SqlDialect::Oracle, QStringLiteral("ana")};
    std::unique_ptr<TDMTable> register_;
    Config config_;
    ScriptedInteraction ui_;
};
