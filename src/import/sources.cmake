list(APPEND VANTROSE_CORE_SOURCES
  src/import/race_data.cpp)
list(APPEND VANTROSE_CORE_TESTS
  tests/import/race_data_test.cpp)
