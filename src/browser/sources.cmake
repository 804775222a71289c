list(APPEND VANTROSE_UI_SOURCES
  src/browser/browser_handlers.cpp
  src/browser/page_list_box.cpp
  src/browser/options_dialog.cpp
  src/browser/edit_dialog.cpp)
list(APPEND VANTROSE_CORE_SOURCES
  src/browser/scratch.cpp
  src/browser/archive.cpp)
list(APPEND VANTROSE_CORE_TESTS
  tests/browser/scratch_test.cpp
  tests/browser/archive_test.cpp)
list(APPEND VANTROSE_CORE_SOURCES
  src/browser/page_list.cpp)
list(APPEND VANTROSE_CORE_TESTS
  tests/browser/page_list_test.cpp)
list(APPEND VANTROSE_UI_TESTS
  tests/browser/page_list_window_test.cpp
  tests/browser/browser_commands_test.cpp)
list(APPEND VANTROSE_CORE_SOURCES
  src/browser/options.cpp
  src/browser/editor_text.cpp
  src/browser/archive_prompt.cpp)
list(APPEND VANTROSE_CORE_TESTS
  tests/browser/options_test.cpp
  tests/browser/editor_text_test.cpp
  tests/browser/archive_prompt_test.cpp)
