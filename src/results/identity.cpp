#include "results/identity.h"

namespace quorvel {

// The names are written in capitals and read in mixed case; the store
// matches them without regard to case.
Identity ReadIdentity(platform::ProfileStore& store) {
  Identity identity;
  identity.userName = store.ReadString("Quorvel", "Name", "");
  identity.email = store.ReadString("Quorvel", "MAIL", "");
  return identity;
}

void WriteIdentity(platform::ProfileStore& store, const std::string& userName,
                   const std::string& email) {
  store.WriteString("QUORVEL", "NAME", userName);
  store.WriteString("QUORVEL", "MAIL", email);
}

}  // namespace quorvel
