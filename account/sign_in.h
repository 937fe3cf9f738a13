#pragma once
// E-mail code sign-in to the hosted service. In local API-key mode nothing here touches the network.
#include <string>

#include "account/account_types.h"
#include "account/hosted_context.h"
#include "core/config.h"

// The account state of local API-key mode: not hosted, not signed in.
AccountInfo LocalAccount();

// Asks the service to e-mail a sign-in code to `email`.
AuthResult SendCode(const TutorConfig& config, const HostedContext& context, const std::wstring& email);
// Exchanges the e-mailed code for a session, which the session store keeps.
AuthResult VerifyCode(const TutorConfig& config, const HostedContext& context,
                      const std::wstring& email, const std::wstring& code);
