// What the error box shows for a failure on a file: the conventional text, ": " and
// the file's full path. For tests where the failing operation, and so the file, is one
// of several.
#pragma once

#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <string_view>
#include <vector>

#include "base/file_layer.h"

// The text of the IoError that `step` throws; empty when it throws none.
inline std::string ThrownText(const std::function<void()>& step) {
  try {
    step();
  } catch (const IoError& error) {
    return error.what();
  }
  return "";
}

// Succeeds when `shown` is `text` naming one of `paths`.
inline ::testing::AssertionResult NamesOneOf(const std::string& shown, std::string_view text,
                                             const std::vector<std::string>& paths) {
  for (const std::string& path : paths)
    if (shown == std::string(text) + ": " + path) return ::testing::AssertionSuccess();
  auto failure = ::testing::AssertionFailure() << "\"" << shown << "\" is not \"" << text << ": \" and one of";
  for (const std::string& path : paths) failure << " " << path;
  return failure;
}
