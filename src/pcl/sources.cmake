list(APPEND VANTROSE_UI_SOURCES
  src/pcl/print_handlers.cpp
  src/pcl/printer_options_dialog.cpp)
list(APPEND VANTROSE_CORE_SOURCES
  src/pcl/pcl_emitters.cpp
  src/pcl/pcl_compose.cpp
  src/pcl/pcl_reader.cpp
  src/pcl/print_commands.cpp)
list(APPEND VANTROSE_CORE_TESTS
  tests/pcl/pcl_emitters_test.cpp
  tests/pcl/pcl_compose_test.cpp
  tests/pcl/pcl_reader_test.cpp
  tests/pcl/print_commands_test.cpp)
list(APPEND VANTROSE_PRINTING_TESTS
  tests/pcl/print_window_test.cpp)
