#include "storage/schema.h"

#include <vector>

namespace quorvel::results_site {
namespace {

// Migration N brings version N-1 to N. "{ID}" is the database's own
// auto-numbered key column. Once released, a migration is never edited:
// a change of the schema is a new one at the end.
const std::vector<std::vector<std::string>>& Migrations() {
  static const std::vector<std::vector<std::string>> migrations = {
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
  };
  return migrations;
}

std::string WithIdColumn(std::string sql, const char* idColumn) {
  const std::string marker = "{ID}";
  const std::size_t at = sql.find(marker);
  if (at != std::string::npos) sql.replace(at, marker.size(), idColumn);
  return sql;
}

}  // namespace

int CurrentSchemaVersion() { return static_cast<int>(Migrations().size()); }

bool MigrateSchema(SqlConnection& db, std::string& error) {
  if (!db.Run("CREATE TABLE IF NOT EXISTS schema_version (version INTEGER NOT NULL)", {}, nullptr,
              error)) {
    return false;
  }
  std::vector<SqlRow> rows;
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
  for (int next = version + 1; next <= CurrentSchemaVersion(); ++next) {
    if (!db.Run("BEGIN", {}, nullptr, error)) return false;
    bool ok = true;
    for (const std::string& statement : Migrations()[static_cast<std::size_t>(next - 1)]) {
      ok = ok && db.Run(WithIdColumn(statement, db.IdColumn()), {}, nullptr, error);
    }
    ok = ok && db.Run("UPDATE schema_version SET version = ?", {std::int64_t{next}}, nullptr, error);
    if (!ok) {
      std::string ignored;
      db.Run("ROLLBACK", {}, nullptr, ignored);
      error = "migrating to schema version " + std::to_string(next) + ": " + error;
      return false;
    }
    if (!db.Run("COMMIT", {}, nullptr, error)) return false;
  }
  return true;
}

}  // namespace quorvel::results_site
