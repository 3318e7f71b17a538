#pragma once

#include "data/engine/Connection.h"
#include "support/PostgresServer.h"

#include <gtest/gtest.h>

#include <string>

// Integration stories that run once per engine: the embedded one, and the throwaway PostgreSQL
// server when the test script started one (skipped otherwise). Either derive the fixture from
// EngineStoryTest and build its FixtureDb on storyEngine(), or wrap a fixture whose constructor
// takes the engine in OnEachEngine<Fixture>; then INSTANTIATE_ENGINE_STORIES(Fixture).

// True when the story is for the server and none runs.
inline bool serverMissing(Connection::Engine engine)
{
    return engine == Connection::Engine::PostgreSql && !PostgresServer::available();
}

// The engine to build the fixture on: the story's, or the embedded one for a story that skips.
inline Connection::Engine storyEngine(Connection::Engine engine)
{
    return serverMissing(engine) ? Connection::Engine::Sqlite : engine;
}

#define ZTFI_SKIP_WITHOUT_SERVER(engine)                                       \
    if (serverMissing(engine))                                                 \
    GTEST_SKIP() << "no PostgreSQL server: scripts/test starts one"

class EngineStoryTest : public testing::TestWithParam<Connection::Engine> {
protected:
    void SetUp() override { ZTFI_SKIP_WITHOUT_SERVER(GetParam()); }
    static Connection::Engine storyEngine() { return ::storyEngine(GetParam()); }
    static bool onServer() { return GetParam() == Connection::Engine::PostgreSql; }
};

template <class Fixture>
class OnEachEngine : public Fixture, public testing::WithParamInterface<Connection::Engine> {
protected:
    OnEachEngine() : Fixture(::storyEngine(GetParam())) {}
    static bool onServer() { return GetParam() == Connection::Engine::PostgreSql; }
    void SetUp() override
    {
        ZTFI_SKIP_WITHOUT_SERVER(GetParam());
        Fixture::SetUp();
    }
};

inline std::string engineStoryName(const testing::TestParamInfo<Connection::Engine>& info)
{
    return info.param == Connection::Engine::PostgreSql ? "PostgreSql" : "Embedded";
}

#define INSTANTIATE_ENGINE_STORIES(Fixture)                                                             \
    INSTANTIATE_TEST_SUITE_P(Engines, Fixture,                                                          \
                             testing::Values(Connection::Engine::Sqlite, Connection::Engine::PostgreSql), \
                             engineStoryName)
