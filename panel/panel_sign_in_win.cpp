// The sign-in form's steps on the panel: the field, its prompt and the account jobs they start.
#include "panel/tutor_panel_win.h"

#include <commctrl.h>

#include "panel/panel_texts.h"

namespace {
const wchar_t* PromptText(SignInPrompt prompt) {
  return prompt == SignInPrompt::Code ? panel_text::CodePrompt : panel_text::EmailPrompt;
}

std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}
}  // namespace

void TutorPanel::SubmitSignIn() {
  if (!services_.hosted) return;
  ApplySignInEffects(signIn_.Submit(WindowText(controls_.Get(control_id::SignInField)), accountJob_ != nullptr));
}

void TutorPanel::BackToEmail() { ApplySignInEffects(signIn_.BackToEmail()); }

void TutorPanel::StartSignOut() {
  if (!services_.hosted || !services_.signOut || accountJob_) return;
  ApplySignInEffects(signIn_.StartSignOut());
}

void TutorPanel::ApplySignInEffects(const SignInEffects& effects) {
  HWND field = controls_.Get(control_id::SignInField);
  if (effects.fieldText) SetWindowTextW(field, effects.fieldText->c_str());
  if (effects.prompt) SendMessageW(field, EM_SETCUEBANNER, TRUE, reinterpret_cast<LPARAM>(PromptText(*effects.prompt)));
  if (effects.relayout) Relayout();
  if (effects.startJob) StartSignInJob(*effects.startJob, effects.email, effects.code);
  if (effects.focusField) controls_.Focus(control_id::SignInField);
  if (effects.repaint) Repaint();
  const bool jobRunning = accountJob_ != nullptr;
  controls_.SetText(control_id::SendCode, PrimaryButtonLabel(jobRunning, signIn_.codeStage()));
  controls_.SetText(control_id::RefreshAccount, RefreshButtonLabel(jobRunning));
  if (observers_.accountForm) {
    observers_.accountForm(signIn_.StatusLine(state_.account), signIn_.statusIsError(), signIn_.codeStage(),
                           state_.account);
  }
}

void TutorPanel::StartSignInJob(AccountJobKind kind, const std::wstring& email, const std::wstring& code) {
  AuthResult failed;
  switch (kind) {
    case AccountJobKind::SendCode:
      if (!services_.sendCode) return;
      StartAccountJob(kind, [send = services_.sendCode, email] { return send(email); }, failed);
      break;
    case AccountJobKind::Verify:
      if (!services_.verifyCode) return;
      StartAccountJob(kind, [verify = services_.verifyCode, email, code] { return verify(email, code); }, failed);
      break;
    case AccountJobKind::SignOut:
      failed.message = panel_text::SignedOut;
      StartAccountJob(kind, [signOut = services_.signOut] {
        AuthResult result;
        result.ok = true;
        result.message = panel_text::SignedOut;
        result.account = signOut();
        return result;
      }, failed);
      break;
    case AccountJobKind::Probe: break;  // started by StartAccountProbe
  }
}
