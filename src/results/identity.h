// The name and e-mail address sent with uploaded results, remembered
// between runs in the settings.
#pragma once

#include <string>

#include "platform/profile_store.h"

namespace quorvel {

struct Identity {
  std::string userName;
  std::string email;
};

// Both values, empty when not stored yet.
Identity ReadIdentity(platform::ProfileStore& store);

// Stores both values (a failed write is ignored: the upload goes ahead and
// the values are simply not remembered).
void WriteIdentity(platform::ProfileStore& store, const std::string& userName,
                   const std::string& email);

}  // namespace quorvel
