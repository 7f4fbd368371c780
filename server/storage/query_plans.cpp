#include "storage/query_plans.h"

namespace quorvel::results_site {

bool PlanRecordingConnection::Run(const std::string& sql, const std::vector<SqlValue>& params,
                                  std::vector<SqlRow>* rows, std::string& error) {
  if (recording && sql.rfind("SELECT", 0) == 0 && plans_.count(sql) == 0) {
    const char* explain = dialect() == Dialect::kSqlite ? "EXPLAIN QUERY PLAN " : "EXPLAIN ";
    std::vector<SqlRow> plan;
    if (inner_->Run(explain + sql, params, &plan, error)) {
      std::vector<std::string>& lines = plans_[sql];
      for (const SqlRow& step : plan) lines.push_back(step.empty() ? "" : step.back());
    }
  }
  return inner_->Run(sql, params, rows, error);
}

}  // namespace quorvel::results_site
