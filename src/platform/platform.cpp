#include "platform/platform.h"

namespace quorvel::platform {
namespace {

class NoFiles : public FileWriter {
 public:
  bool WriteFileAtomically(const std::string&, const std::string&, std::string& error) override {
    error = "this desktop offers no file writing";
    return false;
  }
};

class NoProfile : public ProfileStore {
 public:
  std::string ReadString(const std::string&, const std::string&,
                         const std::string& defaultValue) override {
    return defaultValue;
  }
  bool WriteString(const std::string&, const std::string&, const std::string&) override {
    return false;
  }
};

class NoHttp : public HttpClient {
 public:
  HttpResult Get(const std::string&, int, const std::string&, const std::string&, int,
                 int) override {
    return HttpResult{};
  }
};

}  // namespace

FileWriter& Platform::files() {
  static NoFiles none;
  return none;
}

ProfileStore& Platform::profile() {
  static NoProfile none;
  return none;
}

HttpClient& Platform::http() {
  static NoHttp none;
  return none;
}

}  // namespace quorvel::platform
