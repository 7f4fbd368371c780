// What the site's tests share: an upload like the program's, the stores to
// run against (a SQLite file, and the PostgreSQL server of with_postgres.sh).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "storage/result_store.h"
#include "upload/upload.h"

namespace quorvel::results_site::testing {

// The path and query the program itself (results/request_path.h) sends to
// upload the reference run (Test User's GeForce2 MX at 1024 x 768, 512
// points) under `userName` and `email`, which are in the program's text.
std::string ProgramRequestPath(const std::string& userName, const std::string& email);

// The query of the program's request for Test User (a@b.c) on the
// reference machine, as it sends it.
std::string ExampleQuery();

Upload ExampleUpload(const std::string& name, const std::string& card, std::int64_t overall,
                     const std::string& os = "XP");

// A fresh, empty store: a SQLite file in a new temporary folder (removed
// with the store) or, for "postgresql", the database of
// $QUORVEL_TEST_POSTGRES with its tables dropped first. Fails the test
// when it cannot be had. `location`, when given, is set to where it is,
// for more connections to it.
std::unique_ptr<ResultStore> FreshStore(const std::string& kind, std::string* location = nullptr);

}  // namespace quorvel::results_site::testing
