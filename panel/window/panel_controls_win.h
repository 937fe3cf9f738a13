#pragma once
// The panel's fifty-one child controls: their creation, the edit controls' font and brush, their
// placement, the control under the pointer, and the subclass procedure that they all share.
#include <windows.h>

#include <functional>

#include <array>
#include <string>
#include <vector>

#include "core/unique_handle_win.h"
#include "panel/window/panel_controls.h"
#include "panel/panel_layout.h"

// What the controls need from the panel.
struct ControlEvents {
  // Shift+Enter in the question box makes a line break only while the question page is open.
  std::function<bool()> questionPageOpen;
  // An edit control gained or lost the focus: the drawn caret follows.
  std::function<void()> editFocusChanged;
  // A faded edit's text, caret, selection or scroll may have changed: the panel draws them anew.
  std::function<void()> fadedEditTouched;
};

// The child control whose creation failed, and the system error; id 0 when none did.
struct ControlCreationFailure {
  int id = 0;
  DWORD error = 0;
};

class PanelControls {
 public:
  // Creates every control of the table as a child of `parent`, hidden and 0 x 0, subclassed with the
  // shared procedure. False when one could not be created (see failure()).
  bool Create(HWND parent, HINSTANCE instance, ControlEvents events);
  const ControlCreationFailure& failure() const { return failure_; }

  // The control with that ID, null for an ID outside 100..150 or one that does not exist.
  HWND Get(int id) const;

  // Moves the controls to their logical rectangles at `uiScale`, shown or hidden.
  void Place(const std::vector<ControlPlacement>& placements, float uiScale);

  // The edit controls' font for a new scale; the previous one is deleted once no edit uses it.
  void RecreateEditFont(float uiScale);
  // The edit controls' background brush for the theme.
  void RemakeEditBrush(bool lightTheme);
  HBRUSH editBrush(bool lightTheme);
  // WM_CTLCOLOREDIT: the edits' text and background colours for the theme, and their brush.
  LRESULT EditColours(HDC dc, bool lightTheme);
  void DeleteEditGdiObjects();
  // Under the glass backdrop the native edits are practically invisible (alpha 1) and the panel
  // draws their text; otherwise they are opaque. Visible edits are repainted.
  void SetEditsFaded(bool faded);

  std::wstring Text(int id) const;
  bool HasText(int id) const;
  void SetText(int id, const wchar_t* text);
  void Enable(int id, bool enabled);
  void Focus(int id);
  bool Focused(int id) const;

  // The button under the pointer (0 for none), as the painter shows it.
  int hotControl() const { return hotControl_; }
  void ClearHot() { hotControl_ = 0; }

 private:
  HWND CreateChild(HWND parent, HINSTANCE instance, const wchar_t* className, const ControlSpec& entry,
                   DWORD style, DWORD exStyle);
  static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                       DWORD_PTR data) noexcept;
  LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnEnter(HWND window, int id);

  ControlEvents events_;
  std::array<HWND, kControlSlots> handles_{};  // children: destroyed with their parent
  UniqueFont editFont_;
  UniqueBrush editBrush_;
  int hotControl_ = 0;
  bool editsFaded_ = false;
  ControlCreationFailure failure_;
};
