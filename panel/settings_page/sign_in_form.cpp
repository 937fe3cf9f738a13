#include "panel/settings_page/sign_in_form.h"

namespace {
std::wstring_view TrimBlanks(std::wstring_view text) {
  constexpr std::wstring_view blanks = L" \t\r\n";
  const size_t first = text.find_first_not_of(blanks);
  if (first == std::wstring_view::npos) return {};
  return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}
}  // namespace

void SignInForm::SetStatus(std::wstring message, bool error) {
  status_ = std::move(message);
  statusIsError_ = error;
}

SignInEffects SignInForm::Submit(std::wstring_view fieldText, bool jobRunning) {
  SignInEffects effects;
  if (jobRunning) return effects;
  const std::wstring_view text = TrimBlanks(fieldText);
  if (text.empty()) {
    SetStatus(codeStage_ ? L"Enter the code from your email." : L"Enter your email address.", true);
    effects.focusField = true;
    effects.repaint = true;
    return effects;
  }
  SetStatus({}, false);
  if (codeStage_) {
    effects.startJob = AccountJobKind::Verify;
    effects.code = text;
  } else {
    storedEmail_ = text;
    effects.startJob = AccountJobKind::SendCode;
  }
  effects.email = storedEmail_;
  effects.repaint = true;
  return effects;
}

SignInEffects SignInForm::BackToEmail() {
  codeStage_ = false;
  SetStatus({}, false);
  SignInEffects effects;
  effects.fieldText = storedEmail_;
  effects.prompt = SignInPrompt::Email;
  effects.relayout = true;
  effects.focusField = true;
  return effects;
}

SignInEffects SignInForm::StartSignOut() {
  codeStage_ = false;
  storedEmail_.clear();
  SetStatus({}, false);
  SignInEffects effects;
  effects.fieldText = L"";
  effects.prompt = SignInPrompt::Email;
  effects.startJob = AccountJobKind::SignOut;
  effects.repaint = true;
  return effects;
}

SignInEffects SignInForm::Finished(AccountJobKind kind, const AuthResult& result) {
  SignInEffects effects;
  effects.applyAccount = AccountJobAppliesAccount(kind, result.ok);
  effects.repaint = true;
  switch (kind) {
    case AccountJobKind::SendCode:
    case AccountJobKind::Verify:
      SetStatus(result.message, !result.ok);
      if (result.ok) {
        // A sent code moves on to the code stage; a verified one ends signed in, back at the start.
        codeStage_ = kind == AccountJobKind::SendCode;
        effects.fieldText = L"";
        effects.prompt = codeStage_ ? SignInPrompt::Code : SignInPrompt::Email;
        effects.relayout = true;
        effects.focusField = codeStage_;
      }
      break;
    case AccountJobKind::SignOut:
      SetStatus(result.message, !result.ok);
      break;
    case AccountJobKind::Probe:
      statusIsError_ = false;
      if (result.ok) status_.clear();
      break;
  }
  return effects;
}

std::wstring SignInForm::StatusLine(const AccountInfo& account) const {
  if (!status_.empty()) return status_;
  if (codeStage_) return L"Enter code sent to " + storedEmail_;
  return account.message;
}
