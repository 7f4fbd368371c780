// A connection that passes every statement on and records, the first time
// it sees each SELECT, how the database means to run it (SQLite's EXPLAIN
// QUERY PLAN, PostgreSQL's EXPLAIN): for the benchmark's report and for the
// test that every query of the pages takes an index.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "storage/sql_connection.h"

namespace quorvel::results_site {

class PlanRecordingConnection : public ForwardingConnection {
 public:
  using ForwardingConnection::ForwardingConnection;

  bool Run(const std::string& sql, const std::vector<SqlValue>& params, std::vector<SqlRow>* rows,
           std::string& error) override;

  // Statements are recorded only while this is true.
  bool recording = true;
  // SELECT statement -> the lines of its plan.
  const std::map<std::string, std::vector<std::string>>& plans() const { return plans_; }

 private:
  std::map<std::string, std::vector<std::string>> plans_;
};

}  // namespace quorvel::results_site
