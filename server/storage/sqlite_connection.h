// The SQLite database of a site on one machine (the default).
#pragma once

#include <memory>
#include <string>

#include "storage/sql_connection.h"

namespace quorvel::results_site {

// Opens (creating it if needed) the SQLite file at `path`, in WAL mode so
// that readers do not wait for a writer. Nothing, with `error` set, when it
// cannot be opened.
std::unique_ptr<SqlConnection> OpenSqlite(const std::string& path, std::string& error);

}  // namespace quorvel::results_site
