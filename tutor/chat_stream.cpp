#include "tutor/chat_stream.h"

#include "core/ascii_text.h"
#include "net/json.h"
#include "tutor/chat_request.h"

namespace {

bool IsLineBreak(char c) { return c == '\n' || c == '\r'; }

}  // namespace

void ChatStreamReader::Feed(std::string_view bytes) {
  if (mode_ == Mode::Unknown) {
    const size_t first = bytes.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) return;  // blanks before anything carry nothing
    mode_ = bytes[first] == '{' ? Mode::Plain : Mode::Events;
    bytes.remove_prefix(first);
  }
  if (mode_ == Mode::Events) FeedEvents(bytes);
}

void ChatStreamReader::FeedEvents(std::string_view bytes) {
  for (size_t i = 0; i < bytes.size();) {
    if (afterCr_ && bytes[i] == '\n') ++i;  // the second half of a CR LF already ended the line
    afterCr_ = false;
    size_t end = i;
    while (end < bytes.size() && !IsLineBreak(bytes[end])) ++end;
    line_.append(bytes.substr(i, end - i));
    if (end == bytes.size()) return;
    afterCr_ = bytes[end] == '\r';
    EndLine();
    i = end + 1;
  }
}

// One complete line: a blank line ends the event, ':' starts a comment, and of the fields only
// "data" counts (one blank after the colon is not part of the value).
void ChatStreamReader::EndLine() {
  std::string line = std::move(line_);
  line_.clear();
  if (line.empty()) {
    Dispatch();
    return;
  }
  if (line[0] == ':') return;
  const size_t colon = line.find(':');
  if (std::string_view(line).substr(0, colon) != "data") return;
  size_t value = colon == std::string::npos ? line.size() : colon + 1;
  if (value < line.size() && line[value] == ' ') ++value;
  const bool firstLine = !hasData_;
  data_.append(line, value, std::string::npos);
  data_ += '\n';
  hasData_ = true;
  if (!done_ && !failed_) Preview(firstLine);
}

ChatStreamReader::Reading ChatStreamReader::ReadEvent(const std::string& data) {
  using Kind = Reading::Kind;
  Reading reading;
  if (TrimAscii(data) == "[DONE]") {
    reading.kind = Kind::Done;
    return reading;
  }
  const JsonValue event = JsonParse(data);
  if (event.type != JsonValue::Object) return reading;
  if (HasChatError(event)) {
    reading.kind = Kind::Failed;
    return reading;
  }
  const JsonValue* choice = FirstChatChoice(event);
  if (!choice) return reading;
  reading.kind = Kind::Content;
  const JsonValue* delta = JsonFind(*choice, "delta");
  if (delta && delta->type == JsonValue::Object) reading.piece = ChatContentText(JsonFind(*delta, "content"));
  const JsonValue* reason = JsonFind(*choice, "finish_reason");
  reading.finished = reason && reason->type == JsonValue::String && !reason->string.empty();
  return reading;
}

// Reads an event from its first data line, which is normally all it has. A second data line
// makes the joined data something else again, read only once the event ends; each line is read
// at most once, however long the event.
void ChatStreamReader::Preview(bool firstLine) {
  const std::string shown = std::move(pending_.piece);
  pending_ = firstLine ? ReadEvent(data_.substr(0, data_.size() - 1)) : Reading{};
  previewed_ = firstLine;
  if (pending_.piece != shown) ++growths_;
}

void ChatStreamReader::Dispatch() {
  if (!hasData_) return;
  std::string data = std::move(data_);
  data_.clear();
  hasData_ = false;
  data.pop_back();  // the line feed after the last data line
  const bool shown = previewed_;
  const Reading reading = previewed_ ? std::move(pending_) : ReadEvent(data);
  pending_ = {};
  previewed_ = false;
  if (done_ || failed_) return;  // nothing after the end counts
  Apply(reading, shown);
}

// `shown`: the live text already holds the event's piece.
void ChatStreamReader::Apply(const Reading& reading, bool shown) {
  switch (reading.kind) {
    case Reading::Kind::Done: done_ = true; return;
    case Reading::Kind::Failed: failed_ = true; return;
    case Reading::Kind::Ignored: return;
    case Reading::Kind::Content: break;
  }
  text_ += reading.piece;
  if (!shown && !reading.piece.empty()) ++growths_;
  if (reading.finished) finished_ = true;
}

ChatStreamReader::End ChatStreamReader::Finish() {
  if (mode_ == Mode::Plain) return End::PlainBody;
  // A last line without its line break, and a last event without its blank line, still count.
  if (!line_.empty()) EndLine();
  Dispatch();
  if (failed_) return End::Failed;
  return done_ || finished_ ? End::Complete : End::CutOff;
}
