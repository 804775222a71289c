list(APPEND VANTROSE_CORE_SOURCES
  src/shell/file_layer.cpp
  src/shell/settings.cpp
  src/shell/working_folders.cpp
  src/shell/app_state.cpp
  src/shell/race_day.cpp)
list(APPEND VANTROSE_CORE_TESTS
  tests/shell/file_layer_test.cpp
  tests/shell/settings_test.cpp
  tests/shell/working_folders_test.cpp)
list(APPEND VANTROSE_UI_SOURCES
  src/shell/up_down.cpp
  src/shell/run_command.cpp
  src/shell/main_window.cpp
  src/shell/splash_window.cpp
  src/shell/program.cpp)
list(APPEND VANTROSE_UI_TESTS
  tests/shell/startup_test.cpp)
list(APPEND VANTROSE_CORE_SOURCES
  src/shell/cp437.cpp)
list(APPEND VANTROSE_CORE_TESTS
  tests/shell/cp437_test.cpp)
list(APPEND VANTROSE_PRINTING_TESTS
  tests/shell/print_only_test.cpp)
list(APPEND VANTROSE_CORE_TESTS
  tests/robustness/hostile_input_test.cpp)
list(APPEND VANTROSE_UI_TESTS
  tests/robustness/fault_walk_test.cpp)
