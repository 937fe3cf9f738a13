#include "panel/window/question_box_win.h"

#include <string>

namespace {

// Where the character at `index` starts, in the edit's client pixels; nothing past the text's end.
bool CharacterPosition(HWND box, size_t index, POINT& at) {
  const LRESULT packed = SendMessageW(box, EM_POSFROMCHAR, WPARAM(index), 0);
  if (packed == -1) return false;
  at = {short(LOWORD(packed)), short(HIWORD(packed))};
  return true;
}

}  // namespace

QuestionBoxView ReadEditBox(HWND panel, HWND box, float uiScale) {
  QuestionBoxView view;
  if (!box || !IsWindowVisible(box)) return view;
  const float scale = uiScale > 0 ? uiScale : 1.0f;
  const int length = GetWindowTextLengthW(box);
  if (length > 0) {
    view.text.resize(size_t(length) + 1);
    view.text.resize(size_t(GetWindowTextW(box, view.text.data(), length + 1)));
  }
  DWORD start = 0, end = 0;
  SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  view.selectionStart = start;
  view.selectionEnd = end;
  view.focused = GetFocus() == box;

  RECT client{}, format{};
  GetClientRect(box, &client);
  SendMessageW(box, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
  POINT origin{format.left, format.top};
  MapWindowPoints(box, panel, &origin, 1);
  view.left = float(origin.x) / scale;
  const LONG fromBox = origin.y - format.top;  // box client y to panel client y

  const bool multiline = GetWindowLongW(box, GWL_STYLE) & ES_MULTILINE;
  if (!multiline) {
    // One line, scrolled sideways to keep the caret in view: the first character then lies left of
    // the format rectangle (the position of a character out of view may be negative).
    POINT at{};
    const bool placed = !view.text.empty() && CharacterPosition(box, 0, at);
    if (placed) MapWindowPoints(box, panel, &at, 1);
    if (placed) view.left = float(at.x) / scale;
    view.lines.push_back({0, view.text.size(), float(placed ? at.y : origin.y) / scale});
  }
  const int lines = multiline ? int(SendMessageW(box, EM_GETLINECOUNT, 0, 0)) : 0;
  int row = 0;
  float firstTop = 0;
  for (int line = int(SendMessageW(box, EM_GETFIRSTVISIBLELINE, 0, 0)); line >= 0 && line < lines; ++line, ++row) {
    const LRESULT first = SendMessageW(box, EM_LINEINDEX, WPARAM(line), 0);
    if (first < 0) break;
    POINT at{};
    float top = 0;
    if (CharacterPosition(box, size_t(first), at)) {
      top = float(at.y + fromBox) / scale;
    } else if (!view.lines.empty() && view.lineHeight > 0) {
      top = view.lines.back().top + view.lineHeight;  // an empty last line has no character to ask
    } else {
      top = float(format.top + fromBox) / scale;
    }
    if (row == 0) firstTop = top;
    if (row == 1) view.lineHeight = top - firstTop;
    if (top * scale - float(fromBox) >= float(client.bottom)) break;  // below the box
    const LRESULT count = SendMessageW(box, EM_LINELENGTH, WPARAM(first), 0);
    view.lines.push_back({size_t(first), size_t(count > 0 ? count : 0), top});
  }
  if (view.lineHeight <= 0) {
    // One line only: the row is as tall as the box's font.
    TEXTMETRICW metrics{};
    HDC dc = GetDC(box);
    if (dc) {
      auto font = reinterpret_cast<HGDIOBJ>(SendMessageW(box, WM_GETFONT, 0, 0));
      HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
      if (GetTextMetricsW(dc, &metrics)) view.lineHeight = float(metrics.tmHeight) / scale;
      if (old) SelectObject(dc, old);
      ReleaseDC(box, dc);
    }
  }
  return view;
}
