list(APPEND VANTROSE_UI_SOURCES
  src/canvas/simo_handlers.cpp
  src/canvas/simo_options_dialog.cpp)
list(APPEND VANTROSE_CORE_SOURCES
  src/canvas/block_split.cpp)
list(APPEND VANTROSE_CORE_TESTS
  tests/canvas/block_split_test.cpp)
list(APPEND VANTROSE_CORE_SOURCES
  src/canvas/canvas_job.cpp
  src/canvas/canvas_print.cpp
  src/canvas/simo_schedule.cpp
  src/canvas/simo_options.cpp)
list(APPEND VANTROSE_CORE_TESTS
  tests/canvas/canvas_job_test.cpp
  tests/canvas/canvas_print_test.cpp
  tests/canvas/simo_schedule_test.cpp
  tests/canvas/simo_options_test.cpp)
list(APPEND VANTROSE_UI_TESTS
  tests/canvas/simo_window_test.cpp
  tests/canvas/canvas_pdf_test.cpp)
list(APPEND VANTROSE_PRINTING_TESTS
  tests/canvas/simo_print_test.cpp)
