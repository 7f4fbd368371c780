// What the result store needs of a database: statements with parameters,
// rows back as text. One implementation per database (SQLite, PostgreSQL);
// the statements themselves are shared and written with '?' placeholders.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace quorvel::results_site {

using SqlValue = std::variant<std::int64_t, std::string>;
using SqlRow = std::vector<std::string>;  // every column as text; NULL as ""

enum class Dialect { kSqlite, kPostgres };

// What a transaction is for.
enum class TransactionKind {
  // Writing. On SQLite the write lock is taken at the start (BEGIN
  // IMMEDIATE), waiting for another process's writer as the busy timeout
  // allows, so that no writer ever has to give up a read it began with.
  kWrite,
  // Reading several statements that must all see one state of the
  // database (PostgreSQL: REPEATABLE READ, READ ONLY).
  kSnapshot,
};

class SqlConnection {
 public:
  virtual ~SqlConnection() = default;

  // Runs one statement with `params` bound to its '?' placeholders in order
  // (values are always bound, never pasted into the text). Rows, if any, go
  // to `rows` when it is not null. False with `error` set on failure.
  virtual bool Run(const std::string& sql, const std::vector<SqlValue>& params,
                   std::vector<SqlRow>* rows, std::string& error) = 0;

  // A transaction on this connection; the statements run until Commit or
  // Rollback belong to it. A connection lost inside a transaction is not
  // made again before Rollback: each statement fails, so that the rest of
  // the transaction's statements never run on their own.
  virtual bool Begin(TransactionKind kind, std::string& error) = 0;
  virtual bool Commit(std::string& error) = 0;
  // Also when the connection is lost; never fails.
  virtual void Rollback() = 0;

  virtual Dialect dialect() const = 0;

  // The column definition of an auto-numbered 64-bit primary key.
  virtual const char* IdColumn() const = 0;

  // A short name of the database for messages ("SQLite", "PostgreSQL").
  virtual const char* Name() const = 0;
};

// A connection that passes every call on to another it owns; a wrapper that
// watches or outlives statements overrides only what it adds to.
class ForwardingConnection : public SqlConnection {
 public:
  explicit ForwardingConnection(std::unique_ptr<SqlConnection> inner) : inner_(std::move(inner)) {}

  bool Run(const std::string& sql, const std::vector<SqlValue>& params, std::vector<SqlRow>* rows,
           std::string& error) override {
    return inner_->Run(sql, params, rows, error);
  }
  bool Begin(TransactionKind kind, std::string& error) override { return inner_->Begin(kind, error); }
  bool Commit(std::string& error) override { return inner_->Commit(error); }
  void Rollback() override { inner_->Rollback(); }
  Dialect dialect() const override { return inner_->dialect(); }
  const char* IdColumn() const override { return inner_->IdColumn(); }
  const char* Name() const override { return inner_->Name(); }

 protected:
  std::unique_ptr<SqlConnection> inner_;
};

// Opens the database named by `location`: "sqlite:PATH", or a PostgreSQL
// connection URI ("postgresql://..." or "postgres://..."). Nothing, with
// `error` set, when the location is not understood or the database cannot
// be reached.
std::unique_ptr<SqlConnection> OpenSqlConnection(const std::string& location, std::string& error);

}  // namespace quorvel::results_site
