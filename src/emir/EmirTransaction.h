#pragma once

#include <functional>

class Connection;

// Runs body in one transaction of the connection and commits; when anything fails the
// transaction is rolled back and the error goes on unchanged (the database's own text). When
// the caller already holds a transaction open, body runs inside it and the caller commits.
void runInTransaction(Connection& connection, const std::function<void()>& body);
