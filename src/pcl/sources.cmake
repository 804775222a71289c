list(APPEND VANTROSE_UI_SOURCES
  src/pcl/print_handlers.cpp
  src/pcl/printer_options_dialog.cpp
  src/pcl/print_preview_window.cpp
  src/pcl/preview_handlers.cpp)
list(APPEND VANTROSE_CORE_SOURCES
  src/pcl/pcl_emitters.cpp
  src/pcl/pcl_compose.cpp
  src/pcl/pcl_reader.cpp
  src/pcl/print_commands.cpp
  src/pcl/print_preview.cpp
  src/pcl/pcl_sheets.cpp)
list(APPEND VANTROSE_CORE_TESTS
  tests/pcl/pcl_emitters_test.cpp
  tests/pcl/pcl_compose_test.cpp
  tests/pcl/pcl_reader_test.cpp
  tests/pcl/print_commands_test.cpp
  tests/pcl/print_preview_test.cpp)
list(APPEND VANTROSE_PRINTING_TESTS
  tests/pcl/print_window_test.cpp)
list(APPEND VANTROSE_UI_TESTS
  tests/pcl/print_preview_window_test.cpp)
