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
  data_.append(line, value, std::string::npos);
  data_ += '\n';
  hasData_ = true;
}

void ChatStreamReader::Dispatch() {
  if (!hasData_) return;
  std::string data = std::move(data_);
  data_.clear();
  hasData_ = false;
  data.pop_back();  // the line feed after the last data line
  if (done_ || failed_) return;  // nothing after the end counts
  ReadEvent(data);
}

void ChatStreamReader::ReadEvent(const std::string& data) {
  if (TrimAscii(data) == "[DONE]") {
    done_ = true;
    return;
  }
  const JsonValue event = JsonParse(data);
  if (event.type != JsonValue::Object) return;
  if (HasChatError(event)) {
    failed_ = true;
    return;
  }
  const JsonValue* choice = FirstChatChoice(event);
  if (!choice) return;
  const JsonValue* delta = JsonFind(*choice, "delta");
  if (delta && delta->type == JsonValue::Object) {
    const std::string piece = ChatContentText(JsonFind(*delta, "content"));
    if (!piece.empty()) {
      text_ += piece;
      ++growths_;
    }
  }
  const JsonValue* reason = JsonFind(*choice, "finish_reason");
  if (reason && reason->type == JsonValue::String && !reason->string.empty()) finished_ = true;
}

ChatStreamReader::End ChatStreamReader::Finish() {
  if (mode_ == Mode::Plain) return End::PlainBody;
  // A last line without its line break, and a last event without its blank line, still count.
  if (!line_.empty()) EndLine();
  Dispatch();
  if (failed_) return End::Failed;
  return done_ || finished_ ? End::Complete : End::CutOff;
}
