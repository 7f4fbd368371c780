#include "site_fixtures.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>

#include "results/request_path.h"
#include "storage/schema.h"
#include "support/reference_upload.h"

namespace quorvel::results_site::testing {
namespace {

// A connection to a database in a temporary folder, which goes with it.
class TemporaryDatabase : public ForwardingConnection {
 public:
  TemporaryDatabase(std::unique_ptr<SqlConnection> db, std::string folder)
      : ForwardingConnection(std::move(db)), folder_(std::move(folder)) {}
  ~TemporaryDatabase() override {
    inner_.reset();  // closed before its folder goes
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

 private:
  std::string folder_;
};

}  // namespace

std::string ProgramRequestPath(const std::string& userName, const std::string& email) {
  const test_support::ReferenceUpload reference;
  return BuildRequestPath(reference.info, reference.scores, userName, email);
}

std::string ExampleQuery() {
  const std::string path = ProgramRequestPath("Test User", "a@b.c");
  return path.substr(path.find('?') + 1);
}

Upload ExampleUpload(const std::string& name, const std::string& card, std::int64_t overall,
                     const std::string& os) {
  Upload u;
  u.version = 103;
  u.userName = name;
  u.email = name + "@example.com";
  u.cardName = card;
  u.mode = "1024_x_768_x_32_bits_(85_Hz)";  // texts are stored as the program sends them
  u.alpha = true;
  u.grad = true;
  u.overall = overall;
  u.alphaTest = overall;
  u.cpu = "800";
  u.driver = "6.13.10.1241";
  u.mem = 32;
  u.cpuMan = "GenuineIntel";
  u.cpuID = "x86_Family_6_Model_8_Stepping_3";
  u.os = os;
  return u;
}

std::unique_ptr<ResultStore> FreshStore(const std::string& kind, std::string* location) {
  std::string error;
  if (kind == "postgresql") {
    const char* uri = std::getenv("QUORVEL_TEST_POSTGRES");
    if (uri == nullptr) {
      ADD_FAILURE() << "QUORVEL_TEST_POSTGRES is not set: run through with_postgres.sh";
      return nullptr;
    }
    std::unique_ptr<SqlConnection> db = OpenSqlConnection(uri, error);
    if (!db) {
      ADD_FAILURE() << error;
      return nullptr;
    }
    EXPECT_TRUE(DropSchema(*db, error)) << error;
    std::unique_ptr<ResultStore> store = ResultStore::Open(uri, error);
    EXPECT_TRUE(store) << error;
    if (location != nullptr) *location = uri;
    return store;
  }
  char folder[] = "/tmp/quorvel-site-test.XXXXXX";
  if (mkdtemp(folder) == nullptr) {
    ADD_FAILURE() << "mkdtemp failed";
    return nullptr;
  }
  const std::string file = std::string("sqlite:") + folder + "/results.sqlite";
  if (location != nullptr) *location = file;
  std::unique_ptr<ResultStore> opened = ResultStore::Open(file, error);
  if (!opened) {
    ADD_FAILURE() << error;
    return nullptr;
  }
  // Opened again inside the folder's keeper, now that the schema is in place.
  opened.reset();
  std::unique_ptr<SqlConnection> db = OpenSqlConnection(file, error);
  if (!db) {
    ADD_FAILURE() << error;
    return nullptr;
  }
  return std::make_unique<ResultStore>(std::make_unique<TemporaryDatabase>(std::move(db), folder));
}

}  // namespace quorvel::results_site::testing
