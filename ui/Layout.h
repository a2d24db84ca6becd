#pragma once
// The main dialog's two layouts. The template describes the expanded one;
// collapsed, the dialog ends just below the "+" button, with the About and
// Exit buttons moved up under it. Everything is measured anew in pixels at
// each change, so fonts and dpi need no arithmetic of their own.
namespace ui {

struct LayoutMeasures {
  int windowWidth = 0;      // the dialog window's width
  int nonClientHeight = 0;  // window height minus client height
  int plusBottom = 0;       // bottom edge of the "+" button, client coordinates
  int aboutHeight = 0;
  int exitHeight = 0;
  int listHeight = 0;  // the printer check list; the deleted list is as tall
};

struct Layout {
  int clientHeight = 0;
  int windowWidth = 0;
  int windowHeight = 0;
  int buttonTop = 0;     // both About and Exit, client coordinates
  int buttonHeight = 0;  // both get About's height
  bool showDeletedList = false;
  const wchar_t* expandText = L"+";
};

// The gaps: 10 pixels above the buttons, 10 below them, and the deleted
// list's pane adds the check list's height and 20.
Layout ComputeLayout(const LayoutMeasures& m, bool expanded);

}  // namespace ui
