#pragma once
#include <optional>
#include <string>

#include "account/account_types.h"

enum class QueryKind : int { Scan = 0, VisionScan = 1, Snip = 2, Ask = 3, QuestionCheck = 4 };
enum class QueryQuality : int { Fast = 0, Deep = 1 };

inline bool IsScreenKind(QueryKind kind) { return static_cast<int>(kind) < 3; }

struct TutorReply {
  enum Status : int { Answer = 0, NoQuestion = 1, Error = 2 };
  Status status = Error;
  std::wstring text;         // the answer, or the error sentence
  std::wstring explanation;  // Answer only
  int option = -1;           // 0..3, or -1
  std::optional<AccountInfo> account;

  static TutorReply MakeError(std::wstring message) {
    TutorReply reply;
    reply.status = Error;
    reply.text = std::move(message);
    return reply;
  }
};
