#pragma once

// Entry points for the main window's menu commands. Each window is created on first use,
// shown modeless without an owner, and destroyed when the user closes it.

// Shows the help window, or brings the open one to the front (its text, edits included, stays).
void showHelpWindow();

// Shows the About box, or brings the open one to the front.
void showAboutBox();

// Closes and destroys both windows if they are open. Call it from the main window, not from a
// handler of either auxiliary window.
void closeAuxWindows();
