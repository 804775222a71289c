# desktop_entry is plain text work and belongs to the Qt-free core.
list(APPEND VANTROSE_CORE_SOURCES
  src/platform/desktop_entry.cpp)
list(APPEND VANTROSE_CORE_TESTS
  tests/platform/desktop_entry_test.cpp)
set(VANTROSE_PLATFORM_SOURCES
  src/platform/instance_guard.cpp
  src/platform/desktop_shortcut.h)
set(VANTROSE_PLATFORM_WIN32_SOURCES
  src/platform/desktop_shortcut_win32.cpp)
set(VANTROSE_PLATFORM_POSIX_SOURCES
  src/platform/desktop_shortcut_xdg.cpp)
list(APPEND VANTROSE_UI_TESTS
  tests/platform/instance_guard_test.cpp)
