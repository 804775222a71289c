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
  src/canvas/simo_schedule.cpp)
list(APPEND VANTROSE_CORE_TESTS
  tests/canvas/canvas_job_test.cpp
  tests/canvas/canvas_print_test.cpp
  tests/canvas/simo_schedule_test.cpp)
