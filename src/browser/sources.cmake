list(APPEND VANTROSE_UI_SOURCES
  src/browser/options_dialog.cpp
  src/browser/edit_dialog.cpp)
