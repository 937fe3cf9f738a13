#pragma once
#include <string>

// Who is signed in to the hosted service, for the account area and for replies that carry it.
struct AccountInfo {
  bool hosted = false;
  bool signedIn = false;
  std::wstring email;
  std::wstring message;
};

// The result of one sign-in step (send code, verify).
struct AuthResult {
  bool ok = false;
  std::wstring message;
  AccountInfo account;
};
