#pragma once

#include "core/Error.h"
#include "data/engine/Connection.h"

#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QVariant>
#include <gtest/gtest.h>

#include <memory>

// A fresh, empty SQLite database file TEST.sqlite in a temporary program folder, opened
// through Connection, with helpers that run statements the way the datasets do.
class EngineFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        QFile file(folder.filePath(QStringLiteral("TEST.sqlite")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));  // an empty file is an empty database
        file.close();
        connection = Connection::open(folder.path(), QStringLiteral("TEST"), {}, {});
    }

    // Runs a statement of the Oracle dialect; fails the test when the engine refuses it.
    void exec(const QString& sql)
    {
        QSqlQuery query(connection->database());
        ASSERT_TRUE(query.exec(connection->prepareSql(sql)))
            << sql.toStdString() << ": " << query.lastError().text().toStdString();
    }

    // The first column of the first row, or the engine's error as a DatabaseError.
    QVariant scalar(const QString& sql)
    {
        QSqlQuery query(connection->database());
        query.setForwardOnly(true);
        if (!query.exec(connection->prepareSql(sql)))
            throw DatabaseError(query.lastError().text());
        if (!query.next())
            throw DatabaseError(QStringLiteral("no row: ") + sql);
        return query.value(0);
    }

    // The engine's error text of a statement that must fail; empty when it succeeded.
    QString errorOf(const QString& sql)
    {
        try {
            scalar(sql);
        } catch (const DatabaseError& e) {
            return e.message();
        }
        return {};
    }

    QTemporaryDir folder;
    std::unique_ptr<Connection> connection;
};
