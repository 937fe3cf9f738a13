#pragma once
// Keeping the hosted session alive: token refresh on a 401, the account probe and sign-out.
#include "account/account_types.h"
#include "account/hosted_context.h"
#include "account/session_store.h"
#include "core/config.h"

// Trades the refresh token of `tokens` for new tokens and saves them; on success `tokens` holds
// the new session and `account` (when given) the account the reply names. A refresh that fails
// signs the user out: the stored session is cleared and `tokens` emptied.
// If the stored session moved on while the request was on the wire (a sign-out, or another
// refresh), that session wins: `tokens` becomes it, and the result says whether it is signed in.
bool RefreshSession(const TutorConfig& config, const HostedContext& context, SessionTokens& tokens,
                    AccountInfo* account);

// Asks the service who is signed in, refreshing an expired session once.
AccountInfo ProbeAccount(const TutorConfig& config, const HostedContext& context);

// Deletes the stored session, then probes.
AccountInfo SignOut(const TutorConfig& config, const HostedContext& context);
