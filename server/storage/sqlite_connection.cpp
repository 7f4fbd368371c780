#include "storage/sqlite_connection.h"

#include <sqlite3.h>

namespace quorvel::results_site {
namespace {

struct StatementCloser {
  void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementCloser>;

class SqliteConnection : public SqlConnection {
 public:
  explicit SqliteConnection(sqlite3* db) : db_(db) {}
  ~SqliteConnection() override { sqlite3_close(db_); }
  SqliteConnection(const SqliteConnection&) = delete;
  SqliteConnection& operator=(const SqliteConnection&) = delete;

  bool Run(const std::string& sql, const std::vector<SqlValue>& params, std::vector<SqlRow>* rows,
           std::string& error) override {
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), static_cast<int>(sql.size()), &raw, nullptr) !=
        SQLITE_OK) {
      error = sqlite3_errmsg(db_);
      return false;
    }
    Statement statement(raw);
    for (std::size_t i = 0; i < params.size(); ++i) {
      const int index = static_cast<int>(i + 1);
      const int rc = std::holds_alternative<std::int64_t>(params[i])
                         ? sqlite3_bind_int64(raw, index, std::get<std::int64_t>(params[i]))
                         : sqlite3_bind_text(raw, index, std::get<std::string>(params[i]).data(),
                                             static_cast<int>(std::get<std::string>(params[i]).size()),
                                             SQLITE_TRANSIENT);
      if (rc != SQLITE_OK) {
        error = sqlite3_errmsg(db_);
        return false;
      }
    }
    for (;;) {
      const int rc = sqlite3_step(raw);
      if (rc == SQLITE_DONE) return true;
      if (rc != SQLITE_ROW) {
        error = sqlite3_errmsg(db_);
        return false;
      }
      if (rows == nullptr) continue;
      SqlRow row;
      const int columns = sqlite3_column_count(raw);
      for (int c = 0; c < columns; ++c) {
        const unsigned char* text = sqlite3_column_text(raw, c);
        row.emplace_back(text ? reinterpret_cast<const char*>(text) : "",
                         text ? static_cast<std::size_t>(sqlite3_column_bytes(raw, c)) : 0);
      }
      rows->push_back(std::move(row));
    }
  }

  bool Begin(TransactionKind kind, std::string& error) override {
    return Run(kind == TransactionKind::kWrite ? "BEGIN IMMEDIATE" : "BEGIN", {}, nullptr, error);
  }
  bool Commit(std::string& error) override { return Run("COMMIT", {}, nullptr, error); }
  void Rollback() override {
    std::string ignored;
    if (!sqlite3_get_autocommit(db_)) Run("ROLLBACK", {}, nullptr, ignored);
  }
  Dialect dialect() const override { return Dialect::kSqlite; }

  const char* IdColumn() const override { return "INTEGER PRIMARY KEY"; }
  const char* Name() const override { return "SQLite"; }

 private:
  sqlite3* db_;
};

}  // namespace

std::unique_ptr<SqlConnection> OpenSqlite(const std::string& path, std::string& error) {
  sqlite3* db = nullptr;
  const int rc = sqlite3_open_v2(path.c_str(), &db,
                                 SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                                 nullptr);
  if (rc != SQLITE_OK) {
    error = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    sqlite3_close(db);
    return nullptr;
  }
  auto connection = std::make_unique<SqliteConnection>(db);
  sqlite3_busy_timeout(db, 5000);
  // WAL: a committed upload survives the process ending at any moment;
  // NORMAL synchronisation skips the fsync of every commit.
  for (const char* pragma : {"PRAGMA journal_mode=WAL", "PRAGMA synchronous=NORMAL",
                             "PRAGMA foreign_keys=ON"}) {
    std::vector<SqlRow> ignored;
    if (!connection->Run(pragma, {}, &ignored, error)) return nullptr;
  }
  return connection;
}

}  // namespace quorvel::results_site
