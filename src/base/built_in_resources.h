// The data built into the program: the report help texts and the sample
// schedule, generated at build time from the files in resources/.
#pragma once

#include <string_view>

struct BuiltInResource {
  std::string_view name;
  std::string_view bytes;
};

extern const BuiltInResource kBuiltInResources[5];
