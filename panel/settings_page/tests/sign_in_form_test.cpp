#include "panel/settings_page/sign_in_form.h"

#include <gtest/gtest.h>

namespace {
AuthResult Result(bool ok, std::wstring message) {
  AuthResult result;
  result.ok = ok;
  result.message = std::move(message);
  return result;
}
}  // namespace

// One student's way through the form, with every message it can show.
TEST(SignInForm, StagesMessagesAndJobsThroughASignInAndOut) {
  SignInForm form;
  AccountInfo account;
  account.message = L"Not signed in.";
  EXPECT_EQ(form.StatusLine(account), L"Not signed in.");

  // Blanks only: a prompt as an error, nothing sent.
  SignInEffects blank = form.Submit(L" \t\r\n", false);
  EXPECT_FALSE(blank.startJob);
  EXPECT_TRUE(blank.focusField);
  EXPECT_EQ(form.StatusLine(account), L"Enter your email address.");
  EXPECT_TRUE(form.statusIsError());

  SignInEffects send = form.Submit(L"  ada@example.org\n", false);
  EXPECT_EQ(send.startJob, AccountJobKind::SendCode);
  EXPECT_EQ(send.email, L"ada@example.org");
  EXPECT_EQ(form.StatusLine(account), L"Not signed in.");  // the prompt is gone
  EXPECT_EQ(form.Submit(L"ada@example.org", true), SignInEffects{});  // a second press while sending

  // The code went out: code stage, empty field, the code prompt, and the account left alone.
  SignInEffects sent = form.Finished(AccountJobKind::SendCode, Result(true, L""));
  EXPECT_TRUE(form.codeStage());
  EXPECT_EQ(sent.fieldText, L"");
  EXPECT_EQ(sent.prompt, SignInPrompt::Code);
  EXPECT_FALSE(sent.applyAccount);
  EXPECT_EQ(form.StatusLine(account), L"Enter code sent to ada@example.org");
  form.Submit(L"   ", false);
  EXPECT_EQ(form.StatusLine(account), L"Enter the code from your email.");

  // Back puts the same address in the field; sending again goes to it.
  SignInEffects back = form.BackToEmail();
  EXPECT_EQ(back.fieldText, L"ada@example.org");
  EXPECT_EQ(back.prompt, SignInPrompt::Email);
  EXPECT_EQ(form.StatusLine(account), L"Not signed in.");
  EXPECT_EQ(form.Submit(L"ada@example.org", false).email, L"ada@example.org");
  form.Finished(AccountJobKind::SendCode, Result(true, L""));

  // A wrong code keeps the stage and the field, and says why.
  EXPECT_EQ(form.Submit(L" 123456 ", false).code, L"123456");
  SignInEffects wrong = form.Finished(AccountJobKind::Verify, Result(false, L"Invalid or expired verification code."));
  EXPECT_TRUE(form.codeStage());
  EXPECT_FALSE(wrong.fieldText);
  EXPECT_FALSE(wrong.applyAccount);
  EXPECT_EQ(form.StatusLine(account), L"Invalid or expired verification code.");
  EXPECT_TRUE(form.statusIsError());

  SignInEffects verified = form.Finished(AccountJobKind::Verify, Result(true, L""));
  EXPECT_FALSE(form.codeStage());
  EXPECT_TRUE(verified.applyAccount);
  EXPECT_EQ(verified.prompt, SignInPrompt::Email);

  // Signing out starts over, and says so even when the service could not be reached.
  SignInEffects out = form.StartSignOut();
  EXPECT_EQ(out.startJob, AccountJobKind::SignOut);
  EXPECT_EQ(out.fieldText, L"");
  EXPECT_EQ(form.storedEmail(), L"");
  EXPECT_TRUE(form.Finished(AccountJobKind::SignOut, Result(false, L"Signed out.")).applyAccount);
  EXPECT_EQ(form.StatusLine(account), L"Signed out.");

  // A probe that ran clears the status line and shows the account as it is.
  EXPECT_TRUE(form.Finished(AccountJobKind::Probe, Result(true, L"")).applyAccount);
  EXPECT_FALSE(form.statusIsError());
  EXPECT_EQ(form.StatusLine(account), L"Not signed in.");
}
