// Asking for an archive name: the question is repeated, without a message, until
// the answer is empty or a name the archive accepts. The asking itself (a dialog)
// is passed in; no Qt.
#pragma once

#include <functional>
#include <optional>
#include <string>

// Asks with `ask` (which gives the typed answer as UTF-8, empty when cancelled) until
// the answer is empty, giving nullopt, or ValidArchiveName accepts the answer's code
// page 437 bytes, giving the answer as typed. A character outside code page 437
// becomes "?" for the check and so rejects the name.
std::optional<std::string> AskArchiveName(const std::function<std::string()>& ask);
