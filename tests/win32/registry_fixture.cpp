#include "registry_fixture.h"

#include "platform/win32/registry_key.h"

namespace quorvel::win32::testing {

RegistryFixture::RegistryFixture(const std::string& name)
    : base_("Software\\QuorvelTests\\" + name) {
  ::RegDeleteTreeA(HKEY_CURRENT_USER, base_.c_str());
}

RegistryFixture::~RegistryFixture() { ::RegDeleteTreeA(HKEY_CURRENT_USER, base_.c_str()); }

void RegistryFixture::Set(const std::string& key, const std::string& name, DWORD type,
                          const void* data, DWORD size) {
  HKEY handle = nullptr;
  const std::string path = base_ + "\\" + key;
  if (::RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                        &handle, nullptr) != ERROR_SUCCESS) {
    return;
  }
  UniqueRegistryKey owned(handle);
  ::RegSetValueExA(handle, name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
}

void RegistryFixture::SetText(const std::string& key, const std::string& name,
                              const std::string& text) {
  Set(key, name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
}

void RegistryFixture::SetUnterminatedText(const std::string& key, const std::string& name,
                                          const std::string& text) {
  Set(key, name, REG_SZ, text.data(), static_cast<DWORD>(text.size()));
}

void RegistryFixture::SetNumber(const std::string& key, const std::string& name,
                                std::uint32_t number) {
  const DWORD value = number;
  Set(key, name, REG_DWORD, &value, sizeof(value));
}

bool RegistryFixture::KeyExists(const std::string& key) const {
  return OpenKeyForReading(HKEY_CURRENT_USER, base_ + "\\" + key) != nullptr;
}

}  // namespace quorvel::win32::testing
