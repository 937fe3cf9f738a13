#pragma once
// The hosted account on the panel: the account on view, the account probe, the sign-in form's jobs
// (send code, verify) and signing out. One account job runs at a time on its own worker; timer 7
// polls it. The form's field and buttons belong to the panel, reached through AccountView.
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "account/account_types.h"
#include "core/worker_job.h"
#include "panel/controllers/timer_port.h"
#include "panel/settings_page/settings_rows.h"
#include "panel/settings_page/sign_in_form.h"
#include "tutor/tutor_services.h"

// What a finished account job hands back.
struct AccountJobResult {
  AccountJobKind kind = AccountJobKind::Probe;
  AuthResult result;
};

using AccountJob = WorkerJob<AccountJobResult>;

// What the form changes on the panel's windows.
struct AccountView {
  // Puts text into the sign-in field and/or switches its prompt (either may be absent).
  std::function<void(const std::optional<std::wstring>& text, const std::optional<SignInPrompt>& prompt)> setField;
  std::function<void()> focusField;
  std::function<void()> relayout;
  std::function<void()> repaint;
  // After each step: whether a job runs, and the form as it now reads (button labels, observers).
  std::function<void(bool jobRunning)> formChanged;
};

class AccountController {
 public:
  // `startThread` starts each job's worker (a detached thread in the program).
  AccountController(TimerPort& timers, const TutorServices& services, AccountView view,
                    ThreadStarter startThread = StartDetachedThread);

  // Hosted mode only, one job at a time.
  void StartProbe();
  // The primary button (or Enter in the field) with the field's text.
  void Submit(const std::wstring& fieldText);
  void BackToEmail();
  void StartSignOut();
  // The panel is going away: timer 7 stops.
  void StopPolling() { poll_.Stop(); }
  // Timer 7.
  void PollAccountJob();

  // A solve reply may carry the account.
  void SetAccount(const AccountInfo& account) { account_ = account; }
  const AccountInfo& account() const { return account_; }
  bool jobRunning() const { return job_ != nullptr; }
  const SignInForm& form() const { return form_; }
  std::wstring StatusLine() const { return form_.StatusLine(account_); }
  // Which part of the account section shows.
  AccountArea area() const {
    if (!services_.configured) return AccountArea::FirstRun;
    return ChooseAccountArea(services_.hosted, account_.signedIn, form_.codeStage());
  }

 private:
  void Apply(const SignInEffects& effects);
  void StartFormJob(AccountJobKind kind, const std::wstring& email, const std::wstring& code);
  void StartJob(AccountJobKind kind, std::function<AuthResult()> work, AuthResult onThrow);

  OwnedTimer poll_;
  const TutorServices& services_;
  AccountView view_;
  ThreadStarter startThread_;
  SignInForm form_;
  AccountInfo account_;
  std::shared_ptr<AccountJob> job_;
};
