#include "storage/postgres_connection.h"
#include "storage/sql_connection.h"
#include "storage/sqlite_connection.h"

namespace quorvel::results_site {
namespace {

bool StartsWith(const std::string& text, const char* prefix) {
  return text.rfind(prefix, 0) == 0;
}

}  // namespace

std::unique_ptr<SqlConnection> OpenSqlConnection(const std::string& location, std::string& error) {
  if (StartsWith(location, "sqlite:")) {
    const std::string path = location.substr(7);
    if (path.empty()) {
      error = "sqlite: needs a file name (sqlite:PATH)";
      return nullptr;
    }
    return OpenSqlite(path, error);
  }
  if (StartsWith(location, "postgresql://") || StartsWith(location, "postgres://")) {
    return OpenPostgres(location, error);
  }
  error = "not a database location: use sqlite:PATH or postgresql://...";
  return nullptr;
}

}  // namespace quorvel::results_site
