#include "storage/result_store.h"

#include <cstdlib>

#include "storage/schema.h"
#include "storage/transaction.h"

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
  bool limited = false;
  return Add(u, sender, submittedAt, SenderLimit{}, limited, id, error);
}

bool ResultStore::Add(const Upload& u, const std::string& sender, std::int64_t submittedAt,
                      const SenderLimit& limit, bool& limited, std::int64_t& id,
                      std::string& error) {
  std::lock_guard<std::mutex> lock(mutex_);
  limited = false;
  Transaction transaction(*db_);
  if (!transaction.Begin(TransactionKind::kWrite, error)) return false;
  // The next number, under the counter row's lock until the commit: the
  // uploads of every server on the database pass here one at a time, in
  // the order of their numbers.
  std::vector<SqlRow> rows;
  if (!db_->Run("UPDATE result_counter SET last_id = last_id + 1 RETURNING last_id", {}, &rows,
                error)) {
    return false;
  }
  if (rows.empty()) {
    error = "the result counter has no row";
    return false;
  }
  id = Int(rows[0][0]);
  if (limit.count > 0) {
    rows.clear();
    if (!db_->Run("SELECT COUNT(*) FROM results WHERE sender = ? AND submitted_at >= ?",
                  {sender, limit.since}, &rows, error)) {
      return false;
    }
    std::int64_t recent = 0;
    OneNumber(rows, recent);
    if (recent >= limit.count) {
      limited = true;
      return true;  // rolled back: the number is given again
    }
  }
  const auto flag = [](bool b) { return SqlValue(std::int64_t{b ? 1 : 0}); };
  return db_->Run("INSERT INTO results (id, submitted_at, sender, ver, user_name, email, card_name, "
                  "mode, alpha, per_pixel, grad, overall, alpha_test, two_d_test, cpu, driver, "
                  "mem, cpu_man, multi_cpu, cpu_id, os) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
                  "?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
                  {id, submittedAt, sender, u.version, u.userName, u.email, u.cardName, u.mode,
                   flag(u.alpha), flag(u.perPixel), flag(u.grad), u.overall, u.alphaTest,
                   u.twoDTest, u.cpu, u.driver, u.mem, u.cpuMan, flag(u.multiCPU), u.cpuID, u.os},
                  nullptr, error) &&
         db_->Run("INSERT INTO score_counts (card_name, os, overall, results) VALUES (?, ?, ?, 1) "
                  "ON CONFLICT (card_name, os, overall) DO UPDATE SET results = "
                  "score_counts.results + 1",
                  {u.cardName, u.os, u.overall}, nullptr, error) &&
         transaction.Commit(error);
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

bool ResultStore::Top(const ResultFilter& filter, const ListStart& start, std::int64_t limit,
                      std::vector<StoredResult>& results, std::string& error) {
  std::vector<SqlValue> params;
  std::string where = Where(filter, params);
  if (start.atOrBelow) {
    where += where.empty() ? "WHERE overall <= ? " : "AND overall <= ? ";
    params.push_back(*start.atOrBelow);
  }
  params.push_back(limit);
  params.push_back(start.skip);
  return Results(where + "ORDER BY overall DESC, id ASC LIMIT ? OFFSET ?", params, results, error);
}

bool ResultStore::Counter(std::int64_t& lastId, std::int64_t& changes, std::string& error) {
  std::vector<SqlRow> rows;
  if (!Run("SELECT last_id, changes FROM result_counter", {}, &rows, error)) return false;
  if (rows.empty() || rows[0].size() < 2) {
    error = "the result counter has no row";
    return false;
  }
  lastId = Int(rows[0][0]);
  changes = Int(rows[0][1]);
  return true;
}

bool ResultStore::Scores(CountedScores& out, std::string& error) {
  std::lock_guard<std::mutex> lock(mutex_);
  Transaction transaction(*db_);
  std::vector<SqlRow> counter;
  std::vector<SqlRow> rows;
  if (!transaction.Begin(TransactionKind::kSnapshot, error) ||
      !db_->Run("SELECT last_id, changes FROM result_counter", {}, &counter, error) ||
      !db_->Run("SELECT card_name, os, overall, results FROM score_counts", {}, &rows, error) ||
      !transaction.Commit(error)) {
    return false;
  }
  if (counter.empty() || counter[0].size() < 2) {
    error = "the result counter has no row";
    return false;
  }
  out.lastId = Int(counter[0][0]);
  out.changes = Int(counter[0][1]);
  out.rows.clear();
  out.rows.reserve(rows.size());
  for (SqlRow& row : rows) {
    out.rows.push_back(ScoreRow{0, std::move(row[0]), std::move(row[1]), Int(row[2]), Int(row[3])});
  }
  return true;
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
    out.push_back(ScoreRow{Int(row[0]), std::move(row[1]), std::move(row[2]), Int(row[3]), 1});
  }
  return true;
}

}  // namespace quorvel::results_site
