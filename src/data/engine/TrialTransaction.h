#pragma once

class Connection;

// A trial on the connection while the object lives (Connection::beginTrial): whatever runs
// meanwhile, committed steps included, is rolled back when it ends.
class TrialTransaction {
public:
    explicit TrialTransaction(Connection& connection);
    ~TrialTransaction();
    TrialTransaction(const TrialTransaction&) = delete;
    TrialTransaction& operator=(const TrialTransaction&) = delete;

private:
    Connection& connection_;
};
