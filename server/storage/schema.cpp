#include "storage/schema.h"

#include <vector>

#include "storage/transaction.h"

namespace quorvel::results_site {
namespace {

// A statement of a migration, for both databases or only one.
struct Step {
  enum class On { kBoth, kSqlite, kPostgres };
  std::string sql;
  On on = On::kBoth;
  Step(const char* text, On where = On::kBoth) : sql(text), on(where) {}
  bool RunsOn(Dialect d) const {
    return on == On::kBoth || (on == On::kSqlite) == (d == Dialect::kSqlite);
  }
};

// The removal or edit of a stored result (by hand: the site only adds)
// takes it out of the score counts, edits put it in again, and the change
// is counted, so that every server reads the counts again. The counter row
// is locked first, as an upload locks it, so that the two never wait for
// each other.
#define QUORVEL_UNCOUNT_OLD                                                               \
  " UPDATE result_counter SET changes = changes + 1;"                                     \
  " UPDATE score_counts SET results = results - 1"                                        \
  " WHERE card_name = OLD.card_name AND os = OLD.os AND overall = OLD.overall;"           \
  " DELETE FROM score_counts"                                                             \
  " WHERE card_name = OLD.card_name AND os = OLD.os AND overall = OLD.overall AND results <= 0;"
#define QUORVEL_COUNT_NEW                                                                 \
  " INSERT INTO score_counts (card_name, os, overall, results)"                           \
  " VALUES (NEW.card_name, NEW.os, NEW.overall, 1)"                                       \
  " ON CONFLICT (card_name, os, overall) DO UPDATE SET results = score_counts.results + 1;"

// Migration N brings version N-1 to N. "{ID}" is the database's own
// auto-numbered key column. Once released, a migration is never edited:
// a change of the schema is a new one at the end.
const std::vector<std::vector<Step>>& Migrations() {
  static const std::vector<std::vector<Step>> migrations = {
      {
          "CREATE TABLE results ("
          " id {ID},"
          " submitted_at BIGINT NOT NULL,"
          " sender TEXT NOT NULL,"
          " ver BIGINT NOT NULL,"
          " user_name TEXT NOT NULL,"
          " email TEXT NOT NULL,"
          " card_name TEXT NOT NULL,"
          " mode TEXT NOT NULL,"
          " alpha SMALLINT NOT NULL,"
          " per_pixel SMALLINT NOT NULL,"
          " grad SMALLINT NOT NULL,"
          " overall BIGINT NOT NULL,"
          " alpha_test BIGINT NOT NULL,"
          " two_d_test BIGINT NOT NULL,"
          " cpu TEXT NOT NULL,"
          " driver TEXT NOT NULL,"
          " mem BIGINT NOT NULL,"
          " cpu_man TEXT NOT NULL,"
          " multi_cpu SMALLINT NOT NULL,"
          " cpu_id TEXT NOT NULL,"
          " os TEXT NOT NULL)",
          // The top list and the ranking.
          "CREATE INDEX results_by_overall ON results (overall DESC, id)",
          // The top list of one adapter, of one operating system, and of both.
          "CREATE INDEX results_by_card ON results (card_name, overall DESC, id)",
          "CREATE INDEX results_by_os ON results (os, overall DESC, id)",
          "CREATE INDEX results_by_card_and_os ON results (card_name, os, overall DESC, id)",
          // The newest upload of an address, and its uploads of the last minute.
          "CREATE INDEX results_by_sender ON results (sender, submitted_at)",
      },
      {
          // Texts are stored as the program sends them, with '_' for each
          // blank, and shown with blanks. Results stored before had every
          // '_' turned into a blank already; the program sends no blank of
          // its own, so each blank of theirs was a '_', and is again.
          "UPDATE results SET"
          " user_name = REPLACE(user_name, ' ', '_'),"
          " email = REPLACE(email, ' ', '_'),"
          " card_name = REPLACE(card_name, ' ', '_'),"
          " mode = REPLACE(mode, ' ', '_'),"
          " cpu = REPLACE(cpu, ' ', '_'),"
          " driver = REPLACE(driver, ' ', '_'),"
          " cpu_man = REPLACE(cpu_man, ' ', '_'),"
          " cpu_id = REPLACE(cpu_id, ' ', '_')"
          " WHERE user_name LIKE '% %' OR email LIKE '% %' OR card_name LIKE '% %'"
          " OR mode LIKE '% %' OR driver LIKE '% %' OR cpu_man LIKE '% %'"
          " OR cpu_id LIKE '% %'",
      },
      {
          // Uploads take their numbers from this one row, under its lock, so
          // that results are numbered in the order they were committed: a
          // server that has read every result up to a number has read all
          // of them, on any number of servers. `changes` counts removals and
          // edits of stored results.
          "CREATE TABLE result_counter (last_id BIGINT NOT NULL, changes BIGINT NOT NULL)",
          "INSERT INTO result_counter (last_id, changes) SELECT COALESCE(MAX(id), 0), 0 FROM results",
          // How many results of each adapter and system reached each overall
          // score, brought up to date in every upload's transaction: the
          // page's totals, ranks, medians and histogram, without counting
          // the results themselves.
          "CREATE TABLE score_counts ("
          " card_name TEXT NOT NULL,"
          " os TEXT NOT NULL,"
          " overall BIGINT NOT NULL,"
          " results BIGINT NOT NULL,"
          " PRIMARY KEY (card_name, os, overall))",
          "INSERT INTO score_counts (card_name, os, overall, results)"
          " SELECT card_name, os, overall, COUNT(*) FROM results GROUP BY card_name, os, overall",
          {"CREATE TRIGGER results_removed AFTER DELETE ON results BEGIN" QUORVEL_UNCOUNT_OLD " END",
           Step::On::kSqlite},
          {"CREATE TRIGGER results_changed AFTER UPDATE OF card_name, os, overall ON results BEGIN"
           QUORVEL_UNCOUNT_OLD QUORVEL_COUNT_NEW " END",
           Step::On::kSqlite},
          {"CREATE FUNCTION results_recount() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN"
           QUORVEL_UNCOUNT_OLD " IF TG_OP = 'UPDATE' THEN" QUORVEL_COUNT_NEW " END IF;"
           " RETURN NULL; END $$",
           Step::On::kPostgres},
          {"CREATE TRIGGER results_removed AFTER DELETE ON results"
           " FOR EACH ROW EXECUTE FUNCTION results_recount()",
           Step::On::kPostgres},
          {"CREATE TRIGGER results_changed AFTER UPDATE OF card_name, os, overall ON results"
           " FOR EACH ROW EXECUTE FUNCTION results_recount()",
           Step::On::kPostgres},
      },
  };
  return migrations;
}

#undef QUORVEL_UNCOUNT_OLD
#undef QUORVEL_COUNT_NEW

// The key of the advisory lock that servers on one PostgreSQL database
// take while they create or migrate its schema ("Quorvel" in ASCII).
constexpr char kSchemaLock[] = "SELECT pg_advisory_xact_lock(22928594635744620)";

// How long SQLite waits for another process's migration, which holds the
// write lock for as long as it takes, before it gives up; and the wait
// of every other statement (sqlite_connection.cpp).
constexpr char kMigrationWait[] = "PRAGMA busy_timeout = 600000";
constexpr char kUsualWait[] = "PRAGMA busy_timeout = 5000";

std::string WithIdColumn(std::string sql, const char* idColumn) {
  const std::string marker = "{ID}";
  const std::size_t at = sql.find(marker);
  if (at != std::string::npos) sql.replace(at, marker.size(), idColumn);
  return sql;
}

// One step: under the schema lock, reads the version and brings it one
// version nearer `target`. `done` is set when it was there already.
bool MigrateOneStep(SqlConnection& db, int target, bool& done, std::string& error) {
  Transaction transaction(db);
  if (!transaction.Begin(TransactionKind::kWrite, error)) return false;
  std::vector<SqlRow> rows;
  if (db.dialect() == Dialect::kPostgres && !db.Run(kSchemaLock, {}, &rows, error)) return false;
  if (!db.Run("CREATE TABLE IF NOT EXISTS schema_version (version INTEGER NOT NULL)", {}, nullptr,
              error)) {
    return false;
  }
  rows.clear();
  if (!db.Run("SELECT version FROM schema_version", {}, &rows, error)) return false;
  int version = 0;
  if (rows.empty()) {
    if (!db.Run("INSERT INTO schema_version (version) VALUES (0)", {}, nullptr, error)) return false;
  } else {
    version = std::stoi(rows[0][0]);
  }
  if (version > CurrentSchemaVersion()) {
    error = "the database has schema version " + std::to_string(version) +
            ", newer than this program's " + std::to_string(CurrentSchemaVersion());
    return false;
  }
  done = version >= target;
  if (done) return transaction.Commit(error);
  const int next = version + 1;
  bool ok = true;
  for (const Step& step : Migrations()[static_cast<std::size_t>(next - 1)]) {
    if (step.RunsOn(db.dialect())) {
      ok = ok && db.Run(WithIdColumn(step.sql, db.IdColumn()), {}, nullptr, error);
    }
  }
  ok = ok && db.Run("UPDATE schema_version SET version = ?", {std::int64_t{next}}, nullptr, error);
  ok = ok && transaction.Commit(error);
  if (!ok) error = "migrating to schema version " + std::to_string(next) + ": " + error;
  return ok;
}

}  // namespace

int CurrentSchemaVersion() { return static_cast<int>(Migrations().size()); }

bool MigrateSchema(SqlConnection& db, std::string& error, int target) {
  const bool sqlite = db.dialect() == Dialect::kSqlite;
  if (sqlite && !db.Run(kMigrationWait, {}, nullptr, error)) return false;
  bool done = false;
  bool ok = true;
  while (ok && !done) ok = MigrateOneStep(db, target, done, error);
  std::string ignored;
  if (sqlite) db.Run(kUsualWait, {}, nullptr, ignored);
  return ok;
}

bool RecountResults(SqlConnection& db, std::string& error) {
  Transaction transaction(db);
  return transaction.Begin(TransactionKind::kWrite, error) &&
         db.Run("UPDATE result_counter SET last_id = (SELECT COALESCE(MAX(id), 0) FROM results),"
                " changes = changes + 1",
                {}, nullptr, error) &&
         db.Run("DELETE FROM score_counts", {}, nullptr, error) &&
         db.Run("INSERT INTO score_counts (card_name, os, overall, results)"
                " SELECT card_name, os, overall, COUNT(*) FROM results"
                " GROUP BY card_name, os, overall",
                {}, nullptr, error) &&
         transaction.Commit(error);
}

bool DropSchema(SqlConnection& db, std::string& error) {
  for (const char* table : {"results", "score_counts", "result_counter", "schema_version"}) {
    if (!db.Run(std::string("DROP TABLE IF EXISTS ") + table, {}, nullptr, error)) return false;
  }
  return db.dialect() == Dialect::kSqlite ||
         db.Run("DROP FUNCTION IF EXISTS results_recount()", {}, nullptr, error);
}

}  // namespace quorvel::results_site
