list(APPEND VANTROSE_UI_SOURCES
  src/pcl/printer_options_dialog.cpp)
