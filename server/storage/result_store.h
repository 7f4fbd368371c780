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

namespace quorvel::results_site {

class ResultStore {
 public:
  // Opens `location` (see OpenSqlConnection) and brings its schema up to
  // date. Nothing, with `error` set, when either fails.
  static std::unique_ptr<ResultStore> Open(const std::string& location, std::string& error);

  explicit ResultStore(std::unique_ptr<SqlConnection> db) : db_(std::move(db)) {}

  // Every call below answers false, with `error` set, when the database
  // failed; the out-values are then unspecified.

  // Stores `upload`; `id` is its new number. Committed when this returns
  // true. With a `limit`, the address's recent uploads are counted in the
  // same transaction, which holds the database's write lock (the counter
  // row on PostgreSQL): uploads through any number of servers at once
  // cannot pass the limit together. `limited` is then true and nothing is
  // stored.
  bool Add(const Upload& upload, const std::string& sender, std::int64_t submittedAt,
           std::int64_t& id, std::string& error);
  bool Add(const Upload& upload, const std::string& sender, std::int64_t submittedAt,
           const SenderLimit& limit, bool& limited, std::int64_t& id, std::string& error);
  // Uploads from `sender` at or after `since`.
  bool CountFrom(const std::string& sender, std::int64_t since, std::int64_t& count,
                 std::string& error);
  bool Find(std::int64_t id, std::optional<StoredResult>& result, std::string& error);
  // The newest result from `sender` at or after `since`.
  bool NewestFrom(const std::string& sender, std::int64_t since,
                  std::optional<StoredResult>& result, std::string& error);

  // Counts the results themselves: the pages take their counts from
  // ScoreSummary.
  bool Count(const ResultFilter& filter, std::int64_t& count, std::string& error);
  // Highest overall score first; equal scores in the order they came.
  bool Top(const ResultFilter& filter, const ListStart& start, std::int64_t limit,
           std::vector<StoredResult>& results, std::string& error);

  // The counter: the newest result's number and the changes so far.
  bool Counter(std::int64_t& lastId, std::int64_t& changes, std::string& error);
  // The score counts of all results, all read at one moment.
  bool Scores(CountedScores& out, std::string& error);
  // The adapter, system and score of every result with a number above
  // `afterId`, lowest number first.
  bool ScoresAfter(std::int64_t afterId, std::vector<ScoreRow>& rows, std::string& error);

  SqlConnection& connection() { return *db_; }

 private:
  bool Run(const std::string& sql, const std::vector<SqlValue>& params, std::vector<SqlRow>* rows,
           std::string& error);
  bool Results(const std::string& sqlTail, const std::vector<SqlValue>& params,
               std::vector<StoredResult>& results, std::string& error);

  std::mutex mutex_;
  std::unique_ptr<SqlConnection> db_;
};

}  // namespace quorvel::results_site
