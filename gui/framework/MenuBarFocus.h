#pragma once
// Working the menu bar from the keyboard (Alt, Alt+letter, F10) moves Qt's
// keyboard focus to the bar. On the desktop this program came from the focus
// stays with the control, as it does here when a menu is opened with the
// mouse, and the commands' enabled states and actions depend on it. So the
// control the bar takes the focus from is told only that a popup borrowed it
// (it keeps its selection, and its caret comes back unchanged), and stays the
// control the commands act on until the focus goes somewhere else.
class QWidget;

namespace korvel {

// Starts watching the menu bars' focus for the whole application; once is
// enough, further calls do nothing.
void KeepFocusWhileInMenuBar();

// The control the commands act on: the one the menu bar holds the focus for,
// otherwise the widget with the keyboard focus, or null.
QWidget* CommandFocusWidget();

// F10: works the menu bar of window from the keyboard as Alt alone does, and
// from there leaves it again.
void ToggleMenuBarKeyboardMode(QWidget* window);

}  // namespace korvel
