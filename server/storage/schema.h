// The versioned schema of the results database, the same on SQLite and
// PostgreSQL, and the migrations that bring any older database up to it.
#pragma once

#include <string>

#include "storage/sql_connection.h"

namespace quorvel::results_site {

// The schema version this program writes.
int CurrentSchemaVersion();

// Creates the schema, or migrates an older one step by step, each step in a
// transaction of its own. False, with `error` set, when a step fails or the
// database was made by a newer program.
bool MigrateSchema(SqlConnection& db, std::string& error);

}  // namespace quorvel::results_site
