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

// The program's request for Test User on a GeForce2 MX, as it sends it.
constexpr char kExampleQuery[] =
    "VER=103&UserName=Test_User&email=a@b.c&cardName=NVIDIA_GeForce2_MX"
    "&mode=1024_x_768_x_32_bits_(85_Hz)&Alpha=1&PerPixel=0&grad=1&Overall=512&AlphaTest=512"
    "&TwoDTest=0&cpu=800&driver=6.13.10.1241&mem=32&cpuMan=GenuineIntel&multiCPU=0"
    "&cpuID=x86_Family_6_Model_8_Stepping_3&OS=XP";

Upload ExampleUpload(const std::string& name, const std::string& card, std::int64_t overall,
                     const std::string& os = "XP");

// A fresh, empty store: a SQLite file in a new temporary folder (removed
// with the store) or, for "postgresql", the database of
// $QUORVEL_TEST_POSTGRES with its tables dropped first. Fails the test
// when it cannot be had.
std::unique_ptr<ResultStore> FreshStore(const std::string& kind);

}  // namespace quorvel::results_site::testing
