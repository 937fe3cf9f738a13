#pragma once
// The five service operations that start-up hands to the panel. Each callable owns its own copy of
// the configuration, so workers can call them from any thread.
#include <functional>
#include <string>

#include "account/account_types.h"
#include "tutor/live_text.h"
#include "tutor/tutor_types.h"

struct TutorServices {
  std::function<TutorReply(QueryKind, QueryQuality, const std::wstring&)> solve;
  // The same, with the answer streamed in and its growing text handed to the last argument (the
  // "Live answers" preference; local API-key mode only). May be empty.
  std::function<TutorReply(QueryKind, QueryQuality, const std::wstring&, const LiveTextFn&)> solveLive;
  std::function<AccountInfo()> probeAccount;
  std::function<AuthResult(const std::wstring& email)> sendCode;
  std::function<AuthResult(const std::wstring& email, const std::wstring& code)> verifyCode;
  std::function<AccountInfo()> signOut;
  bool hosted = false;
  // False when nothing points at a tutor service (no key, no backend other than the placeholder):
  // the panel then shows its first run instead of a sign-in that cannot succeed.
  bool configured = true;
  // Reads the configuration again and binds a fresh set of operations to it; empty where the
  // configuration cannot change (tests).
  std::function<TutorServices()> reload;
};
