#pragma once

#include "data/engine/Connection.h"
#include "support/PostgresServer.h"

#include <gtest/gtest.h>

#include <string>

// Integration stories that run once per engine: the embedded one, and the throwaway PostgreSQL
// server when the test script started one (skipped otherwise). Derive the fixture from
// EngineStoryTest, build its FixtureDb with storyEngine(), and instantiate it with
// INSTANTIATE_ENGINE_STORIES(Fixture).
class EngineStoryTest : public testing::TestWithParam<Connection::Engine> {
protected:
    void SetUp() override
    {
        if (GetParam() == Connection::Engine::PostgreSql && !PostgresServer::available())
            GTEST_SKIP() << "no PostgreSQL server: scripts/test starts one";
    }

    // The engine to build the fixture on: the parameter, or the embedded engine for a story
    // that skips for want of the server.
    static Connection::Engine storyEngine()
    {
        return PostgresServer::available() ? GetParam() : Connection::Engine::Sqlite;
    }
    bool onServer() const { return GetParam() == Connection::Engine::PostgreSql; }
};

inline std::string engineStoryName(const testing::TestParamInfo<Connection::Engine>& info)
{
    return info.param == Connection::Engine::PostgreSql ? "PostgreSql" : "Embedded";
}

#define INSTANTIATE_ENGINE_STORIES(Fixture)                                                             \
    INSTANTIATE_TEST_SUITE_P(Engines, Fixture,                                                          \
                             testing::Values(Connection::Engine::Sqlite, Connection::Engine::PostgreSql), \
                             engineStoryName)
