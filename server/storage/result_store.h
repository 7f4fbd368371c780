// The results database: storing uploads and answering what the pages ask.
// The same statements run on SQLite and PostgreSQL. Safe to use from many
// threads at once; calls are served one at a time on the one connection.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "storage/sql_connection.h"
#include "storage/stored_result.h"

namespace quorvel::site {

class ResultStore {
 public:
  // Opens `location` (see OpenSqlConnection) and brings its schema up to
  // date. Nothing, with `error` set, when either fails.
  static std::unique_ptr<ResultStore> Open(const std::string& location, std::string& error);

  explicit ResultStore(std::unique_ptr<SqlConnection> db) : db_(std::move(db)) {}

  // Every call below answers false, with `error` set, when the database
  // failed; the out-values are then unspecified.

  // Stores `upload`; `id` is its new number. Committed when this returns true.
  bool Add(const Upload& upload, const std::string& sender, std::int64_t submittedAt,
           std::int64_t& id, std::string& error);
  // Uploads from `sender` at or after `since`.
  bool CountFrom(const std::string& sender, std::int64_t since, std::int64_t& count,
                 std::string& error);
  bool Find(std::int64_t id, std::optional<StoredResult>& result, std::string& error);
  // The newest result from `sender` at or after `since`.
  bool NewestFrom(const std::string& sender, std::int64_t since,
                  std::optional<StoredResult>& result, std::string& error);

  bool Count(const ResultFilter& filter, std::int64_t& count, std::string& error);
  // Highest overall score first; equal scores in the order they came.
  bool Top(const ResultFilter& filter, std::int64_t limit, std::int64_t offset,
           std::vector<StoredResult>& results, std::string& error);
  // Results of all, with a lower overall score than `overall`.
  bool CountBelow(std::int64_t overall, std::int64_t& count, std::string& error);
  // Adapters of the results that match `filter`, most results first, at
  // most `limit`, each with its median overall score.
  bool Adapters(const ResultFilter& filter, std::int64_t limit,
                std::vector<AdapterSummary>& adapters, std::string& error);
  // The highest overall score of all results (0 when there are none).
  bool MaxOverall(std::int64_t& max, std::string& error);
  // All results' overall scores counted in bins `width` wide (bins without
  // a result are left out), lowest first.
  bool Histogram(std::int64_t width, std::vector<HistogramBin>& bins, std::string& error);
  // The operating systems named by any result, in order.
  bool OsNames(std::vector<std::string>& names, std::string& error);

  SqlConnection& connection() { return *db_; }

 private:
  bool Run(const std::string& sql, const std::vector<SqlValue>& params, std::vector<SqlRow>* rows,
           std::string& error);
  bool Results(const std::string& sqlTail, const std::vector<SqlValue>& params,
               std::vector<StoredResult>& results, std::string& error);

  std::mutex mutex_;
  std::unique_ptr<SqlConnection> db_;
};

}  // namespace quorvel::site
