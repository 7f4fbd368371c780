// quorvel-results: the results site the Quorvel program uploads to.
#include <pthread.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <thread>

#include "http/bounded_server.h"
#include "http/site_routes.h"
#include "options/options.h"
#include "storage/result_store.h"

namespace {

using namespace quorvel::results_site;

constexpr int kBadSetup = 2;

int Fail(const std::string& message) {
  std::fprintf(stderr, "quorvel-results: %s\n", message.c_str());
  return kBadSetup;
}

std::string HostForUrl(const std::string& host) {
  return host.find(':') != std::string::npos ? "[" + host + "]" : host;
}

int Run(const Options& options) {
  std::string location = options.database;
  if (location.empty()) {
    const std::string path = DefaultDatabasePath(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
    location = "sqlite:" + path;
  }
  std::string error;
  std::unique_ptr<ResultStore> store = ResultStore::Open(location, error);
  if (!store) return Fail("cannot open the database " + WithoutPassword(location) + ": " + error);

  BoundedServer server(std::chrono::seconds(options.requestSeconds), std::chrono::seconds(5));
  const int workers = options.workers;
  server.new_task_queue = [workers] { return new httplib::ThreadPool(static_cast<size_t>(workers)); };
  // SO_REUSEADDR for a quick restart, but not cpp-httplib's default
  // SO_REUSEPORT: a second server on the same port must fail, not share it.
  server.set_socket_options([](socket_t sock) {
    int yes = 1;
    setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  });
  server.set_payload_max_length(64 * 1024);
  server.set_read_timeout(5, 0);
  server.set_write_timeout(5, 0);
  SiteSettings settings;
  settings.uploadsPerMinute = options.uploadsPerMinute;
  settings.trustedProxies = options.trustedProxies;
  InstallRoutes(server, *store, settings);
  InstallRequestLog(server, options.trustedProxies);

  const ListenAddress& at = options.listen;
  errno = 0;
  const int port = server.Bind(at.host, at.port);
  if (port < 0) {
    const std::string why = errno != 0 ? std::string(": ") + std::strerror(errno) : "";
    return Fail("cannot listen on " + HostForUrl(at.host) + ":" + std::to_string(at.port) + why);
  }
  std::fprintf(stderr, "quorvel-results: listening on http://%s:%d/ (%s)\n",
               HostForUrl(at.host).c_str(), port, store->connection().Name());

  // SIGTERM and SIGINT are taken by one thread that stops the server; the
  // requests already accepted are answered before listen_after_bind returns.
  std::atomic<bool> finished{false};
  std::thread stopper([&server, &finished] {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGINT);
    int signal = 0;
    sigwait(&signals, &signal);
    // stop() does nothing before the server runs: try until it has stopped.
    while (!finished.load()) {
      server.stop();
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  });
  const bool listened = server.listen_after_bind();
  finished.store(true);
  kill(getpid(), SIGTERM);  // wakes the stopper when the server ended by itself
  stopper.join();
  if (!listened) return Fail("the server ended unexpectedly");
  std::fprintf(stderr, "quorvel-results: stopped\n");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  // Before any thread starts, so that every thread inherits the mask.
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGTERM);
  sigaddset(&signals, SIGINT);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);
  std::signal(SIGPIPE, SIG_IGN);

  Options options;
  std::string error;
  if (!ParseOptions(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
    std::fprintf(stderr, "quorvel-results: %s\nTry 'quorvel-results --help'.\n", error.c_str());
    return kBadSetup;
  }
  if (options.help) {
    std::fputs(UsageText().c_str(), stdout);
    return 0;
  }
  if (options.version) {
    std::printf("quorvel-results %s\n", QUORVEL_VERSION);
    return 0;
  }
  return Run(options);
}
