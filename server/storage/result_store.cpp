#include "storage/result_store.h"

#include <cstdlib>

#include "storage/schema.h"

namespace quorvel::results_site {
namespace {

constexpr char kColumns[] =
    "SELECT id, submitted_at, sender, ver, user_name, email, card_name, mode, alpha, per_pixel, "
    "grad, overall, alpha_test, two_d_test, cpu, driver, mem, cpu_man, multi_cpu, cpu_id, os "
    "FROM results ";

// The filter as a WHERE clause (empty when it matches everything), its
// values appended to `params`. Only the conditions in use are written, so
// that the database can take the index of the one that is.
std::string Where(const ResultFilter& filter, std::vector<SqlValue>& params) {
  std::string clause;
  if (!filter.adapter.empty()) {
    clause += "WHERE card_name = ? ";
    params.push_back(filter.adapter);
  }
  if (!filter.os.empty()) {
    clause += clause.empty() ? "WHERE os = ? " : "AND os = ? ";
    params.push_back(filter.os);
  }
  return clause;
}

std::int64_t Int(const std::string& text) { return std::strtoll(text.c_str(), nullptr, 10); }

StoredResult FromRow(SqlRow& row) {
  StoredResult r;
  r.id = Int(row[0]);
  r.submittedAt = Int(row[1]);
  r.sender = std::move(row[2]);
  Upload& u = r.upload;
  u.version = Int(row[3]);
  u.userName = std::move(row[4]);
  u.email = std::move(row[5]);
  u.cardName = std::move(row[6]);
  u.mode = std::move(row[7]);
  u.alpha = Int(row[8]) != 0;
  u.perPixel = Int(row[9]) != 0;
  u.grad = Int(row[10]) != 0;
  u.overall = Int(row[11]);
  u.alphaTest = Int(row[12]);
  u.twoDTest = Int(row[13]);
  u.cpu = std::move(row[14]);
  u.driver = std::move(row[15]);
  u.mem = Int(row[16]);
  u.cpuMan = std::move(row[17]);
  u.multiCPU = Int(row[18]) != 0;
  u.cpuID = std::move(row[19]);
  u.os = std::move(row[20]);
  return r;
}

bool OneNumber(const std::vector<SqlRow>& rows, std::int64_t& out) {
  out = rows.empty() || rows[0].empty() ? 0 : Int(rows[0][0]);
  return true;
}

}  // namespace

std::unique_ptr<ResultStore> ResultStore::Open(const std::string& location, std::string& error) {
  std::unique_ptr<SqlConnection> db = OpenSqlConnection(location, error);
  if (!db) return nullptr;
  if (!MigrateSchema(*db, error)) return nullptr;
  return std::make_unique<ResultStore>(std::move(db));
}

bool ResultStore::Run(const std::string& sql, const std::vector<SqlValue>& params,
                      std::vector<SqlRow>* rows, std::string& error) {
  std::lock_guard<std::mutex> lock(mutex_);
  return db_->Run(sql, params, rows, error);
}

bool ResultStore::Results(const std::string& sqlTail, const std::vector<SqlValue>& params,
                          std::vector<StoredResult>& results, std::string& error) {
  std::vector<SqlRow> rows;
  if (!Run(kColumns + sqlTail, params, &rows, error)) return false;
  results.clear();
  for (SqlRow& row : rows) results.push_back(FromRow(row));
  return true;
}

bool ResultStore::Add(const Upload& u, const std::string& sender, std::int64_t submittedAt,
                      std::int64_t& id, std::string& error) {
  std::vector<SqlRow> rows;
  const auto flag = [](bool b) { return SqlValue(std::int64_t{b ? 1 : 0}); };
  if (!Run("INSERT INTO results (submitted_at, sender, ver, user_name, email, card_name, mode, "
           "alpha, per_pixel, grad, overall, alpha_test, two_d_test, cpu, driver, mem, cpu_man, "
           "multi_cpu, cpu_id, os) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
           "?, ?) RETURNING id",
           {submittedAt, sender, u.version, u.userName, u.email, u.cardName, u.mode, flag(u.alpha),
            flag(u.perPixel), flag(u.grad), u.overall, u.alphaTest, u.twoDTest, u.cpu, u.driver,
            u.mem, u.cpuMan, flag(u.multiCPU), u.cpuID, u.os},
           &rows, error)) {
    return false;
  }
  return OneNumber(rows, id);
}

bool ResultStore::CountFrom(const std::string& sender, std::int64_t since, std::int64_t& count,
                            std::string& error) {
  std::vector<SqlRow> rows;
  return Run("SELECT COUNT(*) FROM results WHERE sender = ? AND submitted_at >= ?",
             {sender, since}, &rows, error) &&
         OneNumber(rows, count);
}

bool ResultStore::Find(std::int64_t id, std::optional<StoredResult>& result, std::string& error) {
  std::vector<StoredResult> found;
  if (!Results("WHERE id = ?", {id}, found, error)) return false;
  result = found.empty() ? std::nullopt : std::optional<StoredResult>(std::move(found[0]));
  return true;
}

bool ResultStore::NewestFrom(const std::string& sender, std::int64_t since,
                             std::optional<StoredResult>& result, std::string& error) {
  std::vector<StoredResult> found;
  if (!Results("WHERE sender = ? AND submitted_at >= ? ORDER BY submitted_at DESC, id DESC LIMIT 1",
               {sender, since}, found, error)) {
    return false;
  }
  result = found.empty() ? std::nullopt : std::optional<StoredResult>(std::move(found[0]));
  return true;
}

bool ResultStore::Count(const ResultFilter& filter, std::int64_t& count, std::string& error) {
  std::vector<SqlRow> rows;
  std::vector<SqlValue> params;
  const std::string where = Where(filter, params);
  return Run("SELECT COUNT(*) FROM results " + where, params, &rows, error) &&
         OneNumber(rows, count);
}

bool ResultStore::Top(const ResultFilter& filter, std::int64_t limit, std::int64_t offset,
                      std::vector<StoredResult>& results, std::string& error) {
  std::vector<SqlValue> params;
  const std::string where = Where(filter, params);
  params.push_back(limit);
  params.push_back(offset);
  return Results(where + "ORDER BY overall DESC, id ASC LIMIT ? OFFSET ?", params, results, error);
}

bool ResultStore::ScoresAfter(std::int64_t afterId, std::vector<ScoreRow>& out,
                              std::string& error) {
  std::vector<SqlRow> rows;
  if (!Run("SELECT id, card_name, os, overall FROM results WHERE id > ? ORDER BY id", {afterId},
           &rows, error)) {
    return false;
  }
  out.clear();
  out.reserve(rows.size());
  for (SqlRow& row : rows) {
    out.push_back(ScoreRow{Int(row[0]), std::move(row[1]), std::move(row[2]), Int(row[3])});
  }
  return true;
}

}  // namespace quorvel::results_site
