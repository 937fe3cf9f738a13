// Starting a query and taking its reply; starting and polling the account job.
#include "panel/tutor_panel_win.h"

void TutorPanel::StartQuery(QueryKind kind, std::wstring text) {
  if (job_) return;  // one query at a time; this request is dropped
  kind = EffectiveKind(kind, settings_.visionOnScan);
  if (kind == QueryKind::Ask) {
    if (page_ == PanelPage::Question) text = QuestionBoxText();
    text = TrimQuestion(text);
    if (text.empty()) {
      FocusControl(control_id::QuestionBox);
      return;
    }
  }
  try {
    job_ = std::make_shared<Job>();  // marks the query as running while the panel updates
    lastKind_ = kind;
    hasReply_ = false;
    StopStripPulse();
    SetQueryButtonsEnabled(false);
    if (!stealth_ && page_ != PanelPage::Answer) {
      if (kind == QueryKind::Ask && page_ == PanelPage::Question) {
        if (HWND box = control(control_id::QuestionBox)) SetWindowTextW(box, L"");
      }
      SetPage(PanelPage::Answer);
    }
    UpdateSendButton();
    Relayout();
    if (stealth_ && strip_ && IsWindowVisible(strip_.get())) ShowStripWorking();
    job_ = StartQueryWorker(services_.solve, kind, settings_.quality, std::move(text));
  } catch (...) {
    // Nothing could be set up (out of memory): the query ends at once with the start failure.
    job_.reset();
    lastReply_ = TutorReply::MakeError(kStartFailedMessage);
    hasReply_ = true;
    SetQueryButtonsEnabled(true);
    UpdateSendButton();
    Relayout();
    InvalidateRect(main_, nullptr, FALSE);
    return;
  }
  if (observers_.queryStarted) observers_.queryStarted(kind);
  SetTimer(main_, panel_timer::QueryPoll, panel_timer::QueryPollMs, nullptr);
  CollectQueryResult();
  InvalidateRect(main_, nullptr, FALSE);
}

void TutorPanel::CollectQueryResult() {
  if (!job_) return;
  std::optional<TutorReply> reply = TryCollect(*job_);
  if (!reply) return;
  lastReply_ = std::move(*reply);
  job_.reset();
  hasReply_ = true;
  answerScroll_ = 0;
  explanationScroll_ = 0;
  if (lastReply_.account) ApplyAccount(*lastReply_.account);
  if (stealth_ && strip_ && IsWindowVisible(strip_.get())) {
    if (ReplyReadyToPulse(hasReply_, false, lastReply_)) {
      StartStripPulse();
    } else {
      StopStripPulse();
      RedrawStrip(false);
    }
  }
  KillTimer(main_, panel_timer::QueryPoll);
  SetQueryButtonsEnabled(true);
  UpdateSendButton();
  Relayout();
  InvalidateRect(main_, nullptr, FALSE);
  if (observers_.replyCollected) observers_.replyCollected(lastReply_);
}

void TutorPanel::StartAccountJob(AccountJobKind kind, std::function<AuthResult()> work,
                                 AuthResult onThrow) {
  auto job = std::make_shared<AccountJob>();
  bool started = StartWorker<AccountJobResult>(
      job, [kind, work = std::move(work)] { return AccountJobResult{kind, work()}; },
      AccountJobResult{kind, std::move(onThrow)});
  if (!started) return;  // no worker: the buttons simply stay usable
  accountJob_ = std::move(job);
  SetTimer(main_, panel_timer::AccountPoll, panel_timer::AccountPollMs, nullptr);
  InvalidateRect(main_, nullptr, FALSE);
}

void TutorPanel::StartAccountProbe() {
  if (!services_.hosted || !services_.probeAccount || accountJob_) return;
  auto probe = services_.probeAccount;
  StartAccountJob(AccountJobKind::Probe, [probe] {
    AuthResult result;
    result.ok = true;
    result.account = probe();
    return result;
  }, AuthResult{});
}

void TutorPanel::StartSignOut() {
  if (!services_.hosted || !services_.signOut || accountJob_) return;
  auto signOut = services_.signOut;
  AuthResult failed;
  failed.message = L"Signed out.";
  StartAccountJob(AccountJobKind::SignOut, [signOut] {
    AuthResult result;
    result.ok = true;
    result.message = L"Signed out.";
    result.account = signOut();
    return result;
  }, failed);
}

void TutorPanel::PollAccountJob() {
  if (!accountJob_) {
    KillTimer(main_, panel_timer::AccountPoll);
    return;
  }
  std::optional<AccountJobResult> done = TryTakeResult(*accountJob_);
  if (!done) return;
  accountJob_.reset();
  KillTimer(main_, panel_timer::AccountPoll);
  switch (done->kind) {
    case AccountJobKind::Probe:
      if (done->result.ok) ApplyAccount(done->result.account);
      break;
    case AccountJobKind::SignOut:
      ApplyAccount(done->result.account);
      break;
    case AccountJobKind::SendCode:
    case AccountJobKind::Verify:
      if (done->result.ok) ApplyAccount(done->result.account);
      break;
  }
  Relayout();
  InvalidateRect(main_, nullptr, FALSE);
}

void TutorPanel::ApplyAccount(const AccountInfo& account) { account_ = account; }
