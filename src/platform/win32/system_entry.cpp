#include "platform/win32/system_entry.h"

#include <memory>
#include <mutex>
#include <type_traits>
#include <vector>

namespace quorvel::win32 {
namespace {

struct LibraryFreer {
  void operator()(HMODULE module) const { ::FreeLibrary(module); }
};
using UniqueLibrary = std::unique_ptr<std::remove_pointer_t<HMODULE>, LibraryFreer>;

// The libraries loaded here; freed when the process's statics go.
class LoadedLibraries {
 public:
  HMODULE Get(const char* dll) {
    if (HMODULE mapped = ::GetModuleHandleA(dll)) return mapped;
    std::lock_guard<std::mutex> lock(mutex_);
    UniqueLibrary library(::LoadLibraryA(dll));
    HMODULE handle = library.get();
    if (library) loaded_.push_back(std::move(library));
    return handle;
  }

 private:
  std::mutex mutex_;
  std::vector<UniqueLibrary> loaded_;
};

}  // namespace

FARPROC FindSystemEntry(const char* dll, const char* name) {
  static LoadedLibraries libraries;
  HMODULE module = libraries.Get(dll);
  return module != nullptr ? ::GetProcAddress(module, name) : nullptr;
}

}  // namespace quorvel::win32
