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

class PlanRecordingConnection : public SqlConnection {
 public:
  explicit PlanRecordingConnection(std::unique_ptr<SqlConnection> inner) : inner_(std::move(inner)) {}

  bool Run(const std::string& sql, const std::vector<SqlValue>& params, std::vector<SqlRow>* rows,
           std::string& error) override;
  bool Begin(TransactionKind kind, std::string& error) override { return inner_->Begin(kind, error); }
  bool Commit(std::string& error) override { return inner_->Commit(error); }
  void Rollback() override { inner_->Rollback(); }
  Dialect dialect() const override { return inner_->dialect(); }
  const char* IdColumn() const override { return inner_->IdColumn(); }
  const char* Name() const override { return inner_->Name(); }

  // Statements are recorded only while this is true.
  bool recording = true;
  // SELECT statement -> the lines of its plan.
  const std::map<std::string, std::vector<std::string>>& plans() const { return plans_; }

 private:
  std::unique_ptr<SqlConnection> inner_;
  std::map<std::string, std::vector<std::string>> plans_;
};

}  // namespace quorvel::results_site
