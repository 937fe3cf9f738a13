#include "account/session_store.h"

SessionStore& ProcessSessionStore() {
  static SessionStore store(SystemCredentialVault());
  return store;
}
