#include "browser/archive_prompt.h"

#include "base/cp437.h"
#include "browser/archive.h"

std::optional<std::string> AskArchiveName(const std::function<std::string()>& ask) {
  for (;;) {
    std::string answer = ask();
    if (answer.empty()) return std::nullopt;
    if (ValidArchiveName(Utf8ToCp437(answer))) return answer;
  }
}
