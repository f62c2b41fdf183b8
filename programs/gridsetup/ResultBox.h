#pragma once
// The one message box gridsetup may show, behind a seam that tests answer.
#include "GridSetup.h"

#include <functional>
#include <string>

namespace gridsetup {

using ResultPresenter = std::function<void(const std::string& text, const std::string& caption)>;

// Replaces the presenter (tests); an empty function restores the real one.
// Returns the presenter that was in place.
ResultPresenter SetResultPresenter(ResultPresenter presenter);

// The real presenter: a box with no owner, no icon and an OK button. It
// creates the application object when none exists yet. Where no box can
// really be shown (no window system named, a display that does not answer,
// or the offscreen and minimal platforms) the text goes to standard error
// instead, and the run never waits for an answer nobody can give.
void ShowResultBox(const std::string& text, const std::string& caption);

// The whole program: Install, then the result box if the outcome has one.
Outcome RunGridSetup();

}  // namespace gridsetup
