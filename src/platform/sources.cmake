# desktop_entry is plain text work and belongs to the Qt-free core.
list(APPEND VANTROSE_CORE_SOURCES
  src/platform/desktop_entry.cpp
  src/platform/current_printer.cpp)
list(APPEND VANTROSE_CORE_TESTS
  tests/platform/desktop_entry_test.cpp)
set(VANTROSE_PLATFORM_SOURCES
  src/platform/fonts.cpp
  src/platform/qt_printer_canvas.cpp
  src/platform/printing_services.cpp
  src/platform/instance_guard.cpp
  src/platform/printer_catalogue_qt.cpp)
set(VANTROSE_PLATFORM_WIN32_SOURCES
  src/platform/desktop_shortcut_win32.cpp
  src/platform/spooler_win32.cpp)
set(VANTROSE_PLATFORM_POSIX_SOURCES
  src/platform/desktop_shortcut_xdg.cpp
  src/platform/spooler_cups.cpp)
list(APPEND VANTROSE_UI_TESTS
  tests/platform/instance_guard_test.cpp)
list(APPEND VANTROSE_PRINTING_TESTS
  tests/platform/spooler_test.cpp)
