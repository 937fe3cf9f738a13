// Starting a query and taking its reply; starting and polling the account job.
#include "panel/panel_texts.h"
#include "panel/tutor_panel_win.h"

void TutorPanel::StartQuery(QueryKind kind, std::wstring text) {
  if (state_.queryRunning()) {  // one query at a time; this request is dropped
    handsFree_.QueryRefused();
    return;
  }
  kind = EffectiveKind(kind, state_.settings.visionOnScan);
  if (kind == QueryKind::Ask) {
    if (state_.page == PanelPage::Question) text = controls_.Text(control_id::QuestionBox);
    text = TrimQuestion(text);
    if (text.empty()) {
      controls_.Focus(control_id::QuestionBox);
      return;
    }
  }
  handsFree_.QueryStarting();
  try {
    state_.job = std::make_shared<Job>();  // marks the query as running while the panel updates
    state_.lastKind = kind;
    state_.hasReply = false;
    strip_.StopPulse();
    SetQueryButtonsEnabled(false);
    if (!state_.stealth && state_.page != PanelPage::Answer) {
      if (kind == QueryKind::Ask && state_.page == PanelPage::Question) {
        controls_.SetText(control_id::QuestionBox, L"");
      }
      SetPage(PanelPage::Answer);
    }
    UpdateSendButton();
    Relayout();
    if (state_.stealth && strip_.shown()) strip_.ShowWorking();
    state_.job = StartQueryWorker(services_.solve, kind, state_.settings.quality, std::move(text));
  } catch (...) {
    // Nothing could be set up (out of memory): the query ends at once with the start failure.
    state_.job.reset();
    state_.lastReply = TutorReply::MakeError(kStartFailedMessage);
    state_.hasReply = true;
    handsFree_.QueryFinished(TutorReply::Error);
    SetQueryButtonsEnabled(true);
    UpdateSendButton();
    Relayout();
    Repaint();
    return;
  }
  if (observers_.queryStarted) observers_.queryStarted(kind);
  SetTimer(main_, panel_timer::QueryPoll, panel_timer::QueryPollMs, nullptr);
  CollectQueryResult();
  Repaint();
}

void TutorPanel::CollectQueryResult() {
  if (!state_.job) return;
  std::optional<TutorReply> reply = TryCollect(*state_.job);
  if (!reply) return;
  state_.lastReply = std::move(*reply);
  state_.job.reset();
  state_.hasReply = true;
  state_.answerScroll = 0;
  state_.explanationScroll = 0;
  if (state_.lastReply.account) state_.account = *state_.lastReply.account;
  if (state_.stealth && strip_.shown()) {
    if (ReplyReadyToPulse(state_.hasReply, false, state_.lastReply)) {
      strip_.StartPulse();
    } else {
      strip_.StopPulse();
      strip_.Redraw(false);
    }
  }
  KillTimer(main_, panel_timer::QueryPoll);
  handsFree_.QueryFinished(state_.lastReply.status);
  SetQueryButtonsEnabled(true);
  UpdateSendButton();
  Relayout();
  Repaint();
  if (observers_.replyCollected) observers_.replyCollected(state_.lastReply);
}

void TutorPanel::UpdateSendButton() {
  controls_.Enable(control_id::Send,
                   SendButtonEnabled(state_.page, state_.queryRunning(), controls_.HasText(control_id::QuestionBox)));
}

void TutorPanel::SetQueryButtonsEnabled(bool enabled) {
  controls_.Enable(control_id::Scan, enabled);
  controls_.Enable(control_id::Snip, enabled);
}

void TutorPanel::StartAccountJob(AccountJobKind kind, std::function<AuthResult()> work, AuthResult onThrow) {
  auto job = std::make_shared<AccountJob>();
  bool started = StartWorker<AccountJobResult>(
      job, [kind, work = std::move(work)] { return AccountJobResult{kind, work()}; },
      AccountJobResult{kind, std::move(onThrow)});
  if (!started) return;  // no worker: the buttons simply stay usable
  accountJob_ = std::move(job);
  SetTimer(main_, panel_timer::AccountPoll, panel_timer::AccountPollMs, nullptr);
  Repaint();
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
  ApplySignInEffects({});  // the refresh button reads "Syncing…" while the probe runs
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
  SignInEffects effects = signIn_.Finished(done->kind, done->result);
  if (effects.applyAccount) state_.account = done->result.account;
  ApplySignInEffects(effects);
  Relayout();
  Repaint();
}
