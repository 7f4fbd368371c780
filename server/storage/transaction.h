// A transaction that is rolled back unless it was committed: every return
// of a failed step leaves the database as it was.
#pragma once

#include <string>

#include "storage/sql_connection.h"

namespace quorvel::results_site {

class Transaction {
 public:
  explicit Transaction(SqlConnection& db) : db_(db) {}
  ~Transaction() {
    if (open_) db_.Rollback();
  }
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;

  bool Begin(TransactionKind kind, std::string& error) {
    open_ = db_.Begin(kind, error);
    return open_;
  }
  // A commit that fails is rolled back (SQLite keeps the transaction open).
  bool Commit(std::string& error) {
    open_ = false;
    if (db_.Commit(error)) return true;
    db_.Rollback();
    return false;
  }

 private:
  SqlConnection& db_;
  bool open_ = false;
};

}  // namespace quorvel::results_site
