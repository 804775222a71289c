// The message box the core and the windows show texts in, and the one boundary
// where commands meet it: RunCommand runs a user command or start-up step list,
// and an IoError (or any other exception) ends it and its text goes to the general
// error box; the program goes on. No exception leaves a Qt slot. Qt-free, like every
// platform interface; platform/system/message_box.cpp shows the window system's box.
#pragma once

#include <exception>
#include <functional>
#include <string>

#include "base/file_layer.h"

// Shows a text in a modal message box with an OK button.
using ShowMessageFn = std::function<void(const std::string& text)>;

// The message box of the window system, over the active window.
ShowMessageFn SystemMessageBox();

// Asks `question` in a modal box with the buttons `yes` and `no`; true for `yes`. `yes` is
// the default button, so Enter takes it; Escape and the close box answer `no`.
using AskQuestionFn = std::function<bool(const std::string& question, const std::string& yes, const std::string& no)>;

// The question box of the window system.
AskQuestionFn SystemQuestionBox();

// Runs `command`; returns false when it failed (its error text was shown).
template <typename Command>
bool RunCommand(const ShowMessageFn& showError, Command&& command) {
  try {
    command();
    return true;
  } catch (const IoError& error) {
    showError(error.what());
  } catch (const std::bad_alloc&) {
    showError("Out of memory");
  } catch (const std::exception& error) {
    showError(error.what());
  }
  return false;
}
