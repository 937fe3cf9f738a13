#include "panel/controllers/account_controller.h"

#include "panel/panel_rules.h"
#include "panel/panel_texts.h"

AccountController::AccountController(TimerPort& timers, const TutorServices& services, AccountView view,
                                     ThreadStarter startThread)
    : poll_(timers, panel_timer::AccountPoll),
      services_(services),
      view_(std::move(view)),
      startThread_(std::move(startThread)) {}

void AccountController::StartJob(AccountJobKind kind, std::function<AuthResult()> work, AuthResult onThrow) {
  auto job = std::make_shared<AccountJob>();
  bool started = StartWorker<AccountJobResult>(
      job, [kind, work = std::move(work)] { return AccountJobResult{kind, work()}; },
      AccountJobResult{kind, std::move(onThrow)}, startThread_);
  if (!started) return;  // no worker: the buttons simply stay usable
  job_ = std::move(job);
  poll_.Start(panel_timer::AccountPollMs);
  if (view_.repaint) view_.repaint();
}

void AccountController::StartProbe() {
  if (!services_.hosted || !services_.probeAccount || job_) return;
  auto probe = services_.probeAccount;
  StartJob(AccountJobKind::Probe, [probe] {
    AuthResult result;
    result.ok = true;
    result.account = probe();
    return result;
  }, AuthResult{});
  Apply({});  // the refresh button reads "Syncing…" while the probe runs
}

void AccountController::Submit(const std::wstring& fieldText) {
  if (!services_.hosted) return;
  Apply(form_.Submit(fieldText, job_ != nullptr));
}

void AccountController::BackToEmail() {
  if (job_) return;  // like every button of the form, "Back" waits for the running account job
  Apply(form_.BackToEmail());
}

void AccountController::StartSignOut() {
  if (!services_.hosted || !services_.signOut || job_) return;
  Apply(form_.StartSignOut());
}

void AccountController::PollAccountJob() {
  if (!job_) {
    poll_.Stop();
    return;
  }
  std::optional<AccountJobResult> done = TryTakeResult(*job_);
  if (!done) return;
  job_.reset();
  poll_.Stop();
  SignInEffects effects = form_.Finished(done->kind, done->result);
  if (effects.applyAccount) account_ = done->result.account;
  Apply(effects);
  if (view_.relayout) view_.relayout();
  if (view_.repaint) view_.repaint();
}

void AccountController::Apply(const SignInEffects& effects) {
  if ((effects.fieldText || effects.prompt) && view_.setField) view_.setField(effects.fieldText, effects.prompt);
  if (effects.relayout && view_.relayout) view_.relayout();
  if (effects.startJob) StartFormJob(*effects.startJob, effects.email, effects.code);
  if (effects.focusField && view_.focusField) view_.focusField();
  if (effects.repaint && view_.repaint) view_.repaint();
  if (view_.formChanged) view_.formChanged(job_ != nullptr);
}

void AccountController::StartFormJob(AccountJobKind kind, const std::wstring& email, const std::wstring& code) {
  AuthResult failed;
  switch (kind) {
    case AccountJobKind::SendCode:
      if (!services_.sendCode) return;
      StartJob(kind, [send = services_.sendCode, email] { return send(email); }, failed);
      break;
    case AccountJobKind::Verify:
      if (!services_.verifyCode) return;
      StartJob(kind, [verify = services_.verifyCode, email, code] { return verify(email, code); }, failed);
      break;
    case AccountJobKind::SignOut:
      failed.message = panel_text::SignedOut;
      StartJob(kind, [signOut = services_.signOut] {
        AuthResult result;
        result.ok = true;
        result.message = panel_text::SignedOut;
        result.account = signOut();
        return result;
      }, failed);
      break;
    case AccountJobKind::Probe: break;  // started by StartProbe
  }
}
