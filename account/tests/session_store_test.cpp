#include "account/session_store.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "account/session_blob.h"
#include "account/tests/account_fakes.h"

namespace {

SessionTokens Tokens(std::string access, std::string refresh, std::string email) {
  return SessionTokens{std::move(access), std::move(refresh), std::move(email)};
}

// Tokens whose stored blob is exactly `size` bytes: too large for one credential entry.
SessionTokens TokensWithBlobSize(size_t size) {
  SessionTokens tokens = Tokens("", "r", "ada@example.org");
  tokens.accessToken.assign(size - SessionBlob(tokens).size(), 'a');
  return tokens;
}

}  // namespace

TEST(SessionBlob, LoadTakesOnlyStringMembers) {
  SessionTokens tokens = Tokens("old-a", "old-r", "old-e");
  ApplySessionBlob("{\"access_token\":\"a1\",\"email\":\"e@x\"}", tokens);
  EXPECT_EQ(tokens, Tokens("a1", "old-r", "e@x"));

  ApplySessionBlob("{\"access_token\":\"a2\",\"refresh_token\":7,\"email\":null}", tokens);
  EXPECT_EQ(tokens, Tokens("a2", "old-r", "e@x"));

  for (const char* bad : {"", "[\"a\"]", "\"text\"", "{\"access_token\":\"x\"", "garbage"}) {
    ApplySessionBlob(bad, tokens);
    EXPECT_EQ(tokens, Tokens("a2", "old-r", "e@x")) << bad;
  }
}

TEST(SessionStore, SaveWritesOneEntryThatANewStoreReadsBack) {
  FakeVault vault;
  SessionTokens saved = Tokens("a\"1", "r\\2", "ada@example.org");
  SessionStore(vault).Save(saved);
  ASSERT_EQ(vault.entries.size(), 1u);
  EXPECT_EQ(vault.entries["TaviskSession"].userName, "ada@example.org");
  EXPECT_EQ(vault.entries["TaviskSession"].blob,
            "{\"access_token\":\"a\\\"1\",\"refresh_token\":\"r\\\\2\",\"email\":\"ada@example.org\"}");
  EXPECT_EQ(SessionStore(vault).Read(), saved);

  SessionStore(vault).Save(Tokens("a", "r", ""));
  EXPECT_EQ(vault.entries["TaviskSession"].userName, "Tavisk");
}

TEST(SessionStore, LoadsOnlyOnceAndNeverAfterSaveOrClear) {
  FakeVault vault;
  vault.entries["TaviskSession"] = {"u", SessionBlob(Tokens("a", "r", "e"))};
  SessionStore store(vault);
  EXPECT_EQ(store.Read(), Tokens("a", "r", "e"));
  int readsAfterLoad = vault.reads;
  vault.entries["TaviskSession"].blob = SessionBlob(Tokens("other", "other", "other"));
  EXPECT_EQ(store.Read(), Tokens("a", "r", "e"));
  EXPECT_EQ(vault.reads, readsAfterLoad);

  FakeVault secondVault;
  secondVault.entries["TaviskSession"] = {"u", SessionBlob(Tokens("stored", "stored", ""))};
  SessionStore saved(secondVault);
  saved.Save(Tokens("new", "new", ""));
  EXPECT_EQ(saved.Read(), Tokens("new", "new", ""));
  SessionStore cleared(secondVault);
  secondVault.entries["TaviskSession"] = {"u", SessionBlob(Tokens("stored", "stored", ""))};
  cleared.Clear();
  EXPECT_EQ(secondVault.reads, 0);
}

TEST(SessionStore, ClearEmptiesMemoryEvenWhenDeletingFails) {
  FakeVault vault;
  SessionStore store(vault);
  store.Save(Tokens("a", "r", "e"));
  vault.refuseRemoves = true;
  store.Clear();
  EXPECT_EQ(store.Read(), SessionTokens{});
}

// Long tokens: the Credential Manager refuses blobs over 2,560 bytes.
TEST(SessionStore, OversizedSessionIsSplitAndReadBackWhole) {
  FakeVault vault;
  SessionTokens saved = TokensWithBlobSize(3000);
  ASSERT_EQ(SessionBlob(saved).size(), 3000u);
  SessionStore store(vault);
  store.Save(saved);
  EXPECT_EQ(store.Read(), saved);
  EXPECT_EQ(vault.entries.count("TaviskSession/1"), 1u);
  EXPECT_EQ(vault.entries.count("TaviskSession/2"), 1u);
  EXPECT_EQ(vault.entries["TaviskSession"].userName, "ada@example.org");
  EXPECT_EQ(SessionStore(vault).Read(), saved);

  // A later session that fits goes back to the single entry and leaves no parts behind.
  SessionTokens shortOne = Tokens("a", "r", "ada@example.org");
  store.Save(shortOne);
  EXPECT_EQ(vault.entries.size(), 1u);
  EXPECT_EQ(vault.entries["TaviskSession"].blob, SessionBlob(shortOne));

  store.Save(saved);
  store.Clear();
  EXPECT_TRUE(vault.entries.empty());
}

// A refused or impossible write keeps the session for this run and leaves no stale one stored.
TEST(SessionStore, UnstorableSessionStaysInMemoryOnly) {
  FakeVault vault;
  SessionStore store(vault);
  for (bool refuse : {true, false}) {
    store.Save(Tokens("old-a", "old-r", "old@example.org"));
    vault.refuseAllWrites = refuse;
    SessionTokens fresh = refuse ? Tokens("new-a", "new-r", "new@example.org")
                                 : TokensWithBlobSize(kMaxSessionParts * kMaxCredentialBlobBytes + 1);
    store.Save(fresh);
    EXPECT_EQ(store.Read(), fresh);
    EXPECT_TRUE(vault.entries.empty());
    vault.refuseAllWrites = false;
  }
}

TEST(SessionStore, InterruptedSplitWriteIsNeverReadBack) {
  // The index entry is refused after the parts went in: nothing of either session survives.
  FakeVault vault;
  SessionStore store(vault);
  store.Save(Tokens("old-a", "old-r", ""));
  vault.refuseWrites = {"TaviskSession"};
  store.Save(TokensWithBlobSize(4000));
  EXPECT_EQ(SessionStore(vault).Read(), SessionTokens{});

  // A process that died between the parts and the index: the old index no longer matches.
  FakeVault crashed;
  SessionStore(crashed).Save(TokensWithBlobSize(3000));
  SessionTokens other = TokensWithBlobSize(3000);
  other.accessToken.back() = 'b';
  FakeVault scratch;
  SessionStore(scratch).Save(other);
  crashed.entries["TaviskSession/2"] = scratch.entries["TaviskSession/2"];
  EXPECT_EQ(SessionStore(crashed).Read(), SessionTokens{});
}

TEST(SessionStore, DamagedIndexOrMissingPartReadsAsSignedOut) {
  for (const char* index : {"{\"parts\":2,\"length\":3000,\"check\":\"0000000000000000\"}",
                            "{\"parts\":99,\"length\":3000,\"check\":\"x\"}",
                            "{\"parts\":2.5,\"length\":3000,\"check\":\"x\"}",
                            "{\"parts\":2,\"length\":-1,\"check\":\"x\"}",
                            "{\"parts\":2}"}) {
    FakeVault vault;
    SessionStore(vault).Save(TokensWithBlobSize(3000));
    vault.entries["TaviskSession"].blob = index;
    EXPECT_EQ(SessionStore(vault).Read(), SessionTokens{}) << index;
  }
  FakeVault vault;
  SessionStore(vault).Save(TokensWithBlobSize(3000));
  vault.entries.erase("TaviskSession/2");
  EXPECT_EQ(SessionStore(vault).Read(), SessionTokens{});
}

TEST(SessionStore, ConditionalSaveAndClearActOnlyOnTheSessionTheyStartedFrom) {
  FakeVault vault;
  SessionStore store(vault);
  store.Save(Tokens("a1", "r1", "e"));
  EXPECT_EQ(store.SaveIfCurrent("r1", Tokens("a2", "r2", "e")), Tokens("a2", "r2", "e"));
  // A second refresh from the old token must not overwrite the newer session...
  EXPECT_EQ(store.SaveIfCurrent("r1", Tokens("a3", "r3", "e")), Tokens("a2", "r2", "e"));
  // ...nor sign it out when it fails.
  EXPECT_EQ(store.ClearIfCurrent("r1"), Tokens("a2", "r2", "e"));
  EXPECT_EQ(SessionStore(vault).Read(), Tokens("a2", "r2", "e"));
  EXPECT_EQ(store.ClearIfCurrent("r2"), SessionTokens{});
  EXPECT_TRUE(vault.entries.empty());
  // After a sign-out a late refresh result is dropped.
  EXPECT_EQ(store.SaveIfCurrent("r2", Tokens("a4", "r4", "e")), SessionTokens{});
  EXPECT_TRUE(vault.entries.empty());
}

TEST(SessionStore, ConcurrentSavesAndReadsNeverSeeAMixedSession) {
  FakeVault vault;
  SessionStore store(vault);
  std::vector<std::thread> workers;
  std::atomic<int> mixed{0};
  for (int worker = 0; worker < 4; ++worker) {
    workers.emplace_back([&store, &mixed, worker] {
      std::string mark(300 + worker, static_cast<char>('a' + worker));
      for (int round = 0; round < 200; ++round) {
        store.Save(SessionTokens{mark, mark, mark});
        SessionTokens seen = store.Read();
        if (seen.accessToken != seen.refreshToken || seen.refreshToken != seen.email) ++mixed;
      }
    });
  }
  for (std::thread& worker : workers) worker.join();
  EXPECT_EQ(mixed.load(), 0);
  SessionTokens last = store.Read();
  EXPECT_EQ(SessionStore(vault).Read(), last);
}
