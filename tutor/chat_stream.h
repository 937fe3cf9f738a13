#pragma once
// Reads a chat-completions reply that arrives as server-sent events ("stream":true) and carries
// the assistant's text out of it, fed with the body's bytes as they arrive, split anywhere.
//
// Each event's "data:" lines are joined; "[DONE]" ends the stream; an event holding an "error"
// object fails it; of every other event only choices[0].delta.content counts (a string or text
// parts), so roles, reasoning text and tool calls are passed over. Comments (keep-alive lines)
// and other fields are ignored. A body whose first byte is '{' is a plain JSON reply: the
// endpoint ignored the streaming flag, and the reader reads no further.
//
// The live text runs one step ahead of the text: it also shows what an event will add as soon as
// the event's first data line is complete, before the blank line that ends it. An HTTP stack may
// hold an event's last byte back until the next event arrives, and the live view should not wait
// for that; the text itself counts an event only once it has ended.
#include <string>
#include <string_view>

class ChatStreamReader {
 public:
  enum class End {
    Complete,   // "[DONE]", or a finish reason and then the end of the body
    CutOff,     // the body ended before the stream said it was complete
    Failed,     // the stream carried an error object
    PlainBody,  // not an event stream: a plain JSON reply (see PlainBody())
  };

  // The next bytes of the body, in order; any split is fine.
  void Feed(std::string_view bytes);
  // Once the body is complete: reads a last line that had no line break, and says how it ended.
  End Finish();

  // The assistant text the events have carried so far (UTF-8, exactly as the model wrote it).
  const std::string& Text() const { return text_; }
  // Text() and what the event under way will add to it, as far as its first data line shows.
  std::string LiveText() const { return text_ + pending_.piece; }
  // How many times LiveText() has changed; a caller compares it to notice new text cheaply.
  unsigned Growths() const { return growths_; }
  // True once the first byte showed a plain JSON reply (the caller has its bytes in the response).
  bool IsPlainBody() const { return mode_ == Mode::Plain; }

 private:
  enum class Mode { Unknown, Events, Plain };

  // What one event's data says.
  struct Reading {
    enum class Kind { Ignored, Content, Done, Failed };
    Kind kind = Kind::Ignored;
    std::string piece;      // the text a content event adds
    bool finished = false;  // the choice named its finish reason
  };
  static Reading ReadEvent(const std::string& data);

  void FeedEvents(std::string_view bytes);
  void EndLine();
  void Preview(bool firstLine);
  void Dispatch();
  void Apply(const Reading& reading, bool shown);

  Mode mode_ = Mode::Unknown;
  std::string line_;      // the current line so far
  std::string data_;      // the current event's data lines, each followed by a line feed
  bool hasData_ = false;  // some "data" field arrived for the current event
  Reading pending_;       // the current event as its first data line reads
  bool previewed_ = false;  // pending_ is the reading of the whole of data_
  bool afterCr_ = false;  // the last byte ended a line with a carriage return
  bool done_ = false;
  bool finished_ = false;  // a choice named its finish reason
  bool failed_ = false;
  std::string text_;
  unsigned growths_ = 0;
};
