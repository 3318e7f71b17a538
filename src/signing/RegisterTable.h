#pragma once

#include <memory>

class Connection;
class TDMTable;

// The table component tDPATVP over the report register, as the signing records the send date
// in it: every column declared with its type (DAN a date and time), sorted by the key
// DPATVPID;ZAPST. The caller attaches the audit trail.
namespace RegisterTable {

std::unique_ptr<TDMTable> create(Connection& connection);

}  // namespace RegisterTable
