#pragma once
// What a reply that is still being written shows so far: the decoded "answer" and "explanation"
// members of the reply object as far as they have arrived, or the prose when the model writes no
// object. The final reply always comes from ParseTutorReply; this only feeds the growing view.
#include <string>
#include <string_view>

struct PartialReply {
  std::wstring answer;       // trimmed; empty until the answer has text
  std::wstring explanation;  // trimmed; empty until the explanation has text

  bool operator==(const PartialReply&) const = default;
};

// Reads the text the model has written so far (UTF-8, possibly cut anywhere: inside an escape, a
// "\u" pair or a UTF-8 sequence). A string member grows as its bytes arrive, decoded the way the
// whole reply will be; an escape is held back until the bytes that decide its reading are there.
// A code fence before the object is skipped; text that is not an object is prose, shown whole.
PartialReply ReadPartialReply(std::string_view text);
