list(APPEND VANTROSE_UI_SOURCES
  src/canvas/simo_options_dialog.cpp)
