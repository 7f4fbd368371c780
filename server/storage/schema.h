// The versioned schema of the results database, the same on SQLite and
// PostgreSQL, and the migrations that bring any older database up to it.
#pragma once

#include <string>

#include "storage/sql_connection.h"

namespace quorvel::results_site {

// The schema version this program writes.
int CurrentSchemaVersion();

// Creates the schema, or migrates an older one step by step, each step in a
// transaction of its own, up to `target` (CurrentSchemaVersion() but in
// tests). Safe when several servers start at once on one database: each
// step holds the database's schema lock (PostgreSQL: an advisory lock;
// SQLite: the write lock) and reads the version again under it. False,
// with `error` set, when a step fails or the database was made by a newer
// program.
bool MigrateSchema(SqlConnection& db, std::string& error, int target = CurrentSchemaVersion());

// Counts the stored results again from nothing: the score counts and the
// counter's newest number. For results written to the database other than
// by uploads (the benchmark fills its million rows so).
bool RecountResults(SqlConnection& db, std::string& error);

// Drops every table and function of the schema, with all results: for the
// tests' and the benchmark's own databases.
bool DropSchema(SqlConnection& db, std::string& error);

}  // namespace quorvel::results_site
