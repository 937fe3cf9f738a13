#include "panel/controllers/account_controller.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "panel/controllers/tests/fake_timers.h"
#include "panel/panel_rules.h"

namespace {

// Each job's worker runs at once, on the test's thread.
void RunNow(std::function<void()> work) { work(); }

struct AccountControllerTest : ::testing::Test {
  AccountControllerTest() {
    services.hosted = true;
    services.probeAccount = [this] {
      ++probes;
      AccountInfo info;
      info.signedIn = true;
      info.email = L"student@example.com";
      return info;
    };
    services.sendCode = [this](const std::wstring& email) {
      sentTo.push_back(email);
      AuthResult result;
      result.ok = true;
      return result;
    };
    services.signOut = [] { return AccountInfo{}; };
  }
  AccountView View() {
    AccountView view;
    view.setField = [this](const std::optional<std::wstring>& text, const std::optional<SignInPrompt>& prompt) {
      if (text) field = *text;
      if (prompt) this->prompt = *prompt;
    };
    view.formChanged = [this](bool jobRunning) { runningSeen.push_back(jobRunning); };
    return view;
  }

  FakeTimers timers;
  TutorServices services;
  int probes = 0;
  std::vector<std::wstring> sentTo;
  std::wstring field = L"unchanged";
  SignInPrompt prompt = SignInPrompt::Email;
  std::vector<bool> runningSeen;
  AccountController account{timers, services, View(), RunNow};
};

TEST_F(AccountControllerTest, ProbeRunsAsAJobPolledOnTimerSeven) {
  account.StartProbe();
  EXPECT_EQ(probes, 1);
  EXPECT_TRUE(account.jobRunning());
  EXPECT_EQ(timers.running, (std::map<unsigned, unsigned>{{panel_timer::AccountPoll, 40}}));
  EXPECT_EQ(runningSeen, std::vector<bool>{true});  // "Syncing…" while it runs
  EXPECT_FALSE(account.account().signedIn);

  account.StartProbe();  // one job at a time
  EXPECT_EQ(probes, 1);

  account.PollAccountJob();
  EXPECT_FALSE(account.jobRunning());
  EXPECT_TRUE(timers.running.empty());
  EXPECT_TRUE(account.account().signedIn);
  EXPECT_EQ(account.account().email, L"student@example.com");
  EXPECT_EQ(account.area(), AccountArea::SignedIn);
  EXPECT_EQ(runningSeen.back(), false);
}

TEST_F(AccountControllerTest, TheFormSendsTheCodeAndMovesToTheCodeStage) {
  account.Submit(L"  ada@example.org\n");
  EXPECT_EQ(sentTo, std::vector<std::wstring>{L"ada@example.org"});
  EXPECT_TRUE(timers.Runs(panel_timer::AccountPoll));
  account.Submit(L"ada@example.org");  // pressed again while sending: ignored
  EXPECT_EQ(sentTo.size(), 1u);

  account.PollAccountJob();
  EXPECT_TRUE(account.form().codeStage());
  EXPECT_EQ(prompt, SignInPrompt::Code);
  EXPECT_EQ(field, L"");
  EXPECT_EQ(account.area(), AccountArea::SignInCode);

  // "Back" does nothing while an account job runs, like every other button of the form.
  account.StartProbe();
  account.BackToEmail();
  EXPECT_TRUE(account.form().codeStage());
  EXPECT_EQ(field, L"");
  account.PollAccountJob();

  account.BackToEmail();
  EXPECT_FALSE(account.form().codeStage());
  EXPECT_EQ(field, L"ada@example.org");
}

TEST_F(AccountControllerTest, LocalModeStartsNoAccountJob) {
  services.hosted = false;
  account.StartProbe();
  account.Submit(L"ada@example.org");
  account.StartSignOut();
  EXPECT_EQ(probes, 0);
  EXPECT_TRUE(sentTo.empty());
  EXPECT_FALSE(account.jobRunning());
  EXPECT_TRUE(timers.running.empty());
  EXPECT_EQ(account.area(), AccountArea::LocalKey);
}

}  // namespace
