#pragma once
// The two-stage sign-in form of the account settings: one field that takes the e-mail address and
// then the code sent to it, its status line, and what each step asks of the panel. The form keeps
// its own stage, stored address and status; the panel owns the field, the worker and the account.
#include <optional>
#include <string>
#include <string_view>

#include "account/account_types.h"
#include "panel/panel_rules.h"

enum class SignInPrompt { Email, Code };

// What one step of the form asks of the panel, in this order: put text into the field (empty to
// clear it), switch its prompt, relayout, start an account job, apply the account, focus the field,
// repaint.
struct SignInEffects {
  std::optional<std::wstring> fieldText;
  std::optional<SignInPrompt> prompt;
  bool relayout = false;
  std::optional<AccountJobKind> startJob;  // SendCode: send to `email`; Verify: `email` with `code`
  std::wstring email;
  std::wstring code;
  bool applyAccount = false;
  bool focusField = false;
  bool repaint = false;
  bool operator==(const SignInEffects&) const = default;
};

class SignInForm {
 public:
  // The primary button, or Enter in the field, with the field's text. Ignored (nothing asked) while
  // an account job runs.
  SignInEffects Submit(std::wstring_view fieldText, bool jobRunning);
  // "Back" from the code stage: the stored address returns to the field.
  SignInEffects BackToEmail();
  // Signing out starts over in the e-mail stage with nothing stored; the panel starts the job.
  SignInEffects StartSignOut();
  // A finished account job of `kind` with its result.
  SignInEffects Finished(AccountJobKind kind, const AuthResult& result);

  // The status line under the field: the message, else in the code stage where the code went, else
  // the account's own message.
  std::wstring StatusLine(const AccountInfo& account) const;
  bool statusIsError() const { return statusIsError_; }
  bool codeStage() const { return codeStage_; }
  const std::wstring& storedEmail() const { return storedEmail_; }

 private:
  void SetStatus(std::wstring message, bool error);

  bool codeStage_ = false;
  std::wstring storedEmail_;
  std::wstring status_;
  bool statusIsError_ = false;
};
