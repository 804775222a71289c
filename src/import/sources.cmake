list(APPEND VANTROSE_CORE_SOURCES
  src/import/race_data.cpp
  src/import/sample_day.cpp)
list(APPEND VANTROSE_CORE_TESTS
  tests/import/race_data_test.cpp
  tests/import/sample_day_test.cpp)
list(APPEND VANTROSE_CORE_SOURCES
  src/import/report_split.cpp
  src/import/page_index.cpp)
list(APPEND VANTROSE_CORE_TESTS
  tests/import/report_split_test.cpp
  tests/import/page_index_test.cpp)
