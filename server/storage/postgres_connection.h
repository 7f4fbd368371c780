// The PostgreSQL database of a site that outgrows one machine.
#pragma once

#include <memory>
#include <string>

#include "storage/sql_connection.h"

namespace quorvel::results_site {

// Connects through libpq with a connection URI such as
// "postgresql://user@host/db" or "postgresql:///db?host=/var/run/postgresql".
// Nothing, with `error` set, when the server cannot be reached.
std::unique_ptr<SqlConnection> OpenPostgres(const std::string& uri, std::string& error);

}  // namespace quorvel::results_site
