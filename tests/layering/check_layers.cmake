# Reads the include lines of every source under src/ and tools/ and fails when one
# runs against the floors of the tree:
#   - a file includes a folder of a higher floor (base, platform, import,
#     browser and canvas, pcl, shell: lowest first);
#   - browser/ and canvas/, which share a floor, include each other;
#   - a core file (outside ui/ and platform/system/) includes a Qt-side header
#     (anything in a ui/ folder or in platform/system/) or any <Q...> header.
# tools/ stands above every floor and is core: it may include any core header.
# Run as: cmake -DSOURCE_DIR=<top of the tree> -P check_layers.cmake
if(NOT SOURCE_DIR)
  message(FATAL_ERROR "SOURCE_DIR is not set")
endif()

set(floor_base 1)
set(floor_platform 2)
set(floor_import 3)
set(floor_browser 4)
set(floor_canvas 4)
set(floor_pcl 5)
set(floor_shell 6)
set(floor_tools 7)

file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR}
  ${SOURCE_DIR}/src/*.h ${SOURCE_DIR}/src/*.cpp ${SOURCE_DIR}/tools/*.h ${SOURCE_DIR}/tools/*.cpp)
list(SORT sources)

set(problems "")
set(checked 0)
foreach(source IN LISTS sources)
  if(source MATCHES "^src/([a-z_]+)/")
    set(folder ${CMAKE_MATCH_1})
  else()
    set(folder tools)
  endif()
  if(NOT DEFINED floor_${folder})
    string(APPEND problems "  ${source}: its folder ${folder}/ is on no floor\n")
    continue()
  endif()
  set(core TRUE)
  if(source MATCHES "/ui/" OR source MATCHES "^src/platform/system/")
    set(core FALSE)
  endif()

  file(STRINGS ${SOURCE_DIR}/${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
  foreach(line IN LISTS includes)
    math(EXPR checked "${checked} + 1")
    if(line MATCHES "<(Q[A-Za-z0-9_/.]*)>")
      if(core)
        string(APPEND problems "  ${source}: a core file includes the Qt header <${CMAKE_MATCH_1}>\n")
      endif()
      continue()
    endif()
    if(NOT line MATCHES "\"([^\"]+)\"")
      continue()
    endif()
    set(included ${CMAKE_MATCH_1})
    if(core AND (included MATCHES "(^|/)ui/" OR included MATCHES "^platform/system/"))
      string(APPEND problems "  ${source}: a core file includes the Qt-side header \"${included}\"\n")
    endif()
    if(NOT included MATCHES "^([a-z_]+)/")
      continue()
    endif()
    set(target ${CMAKE_MATCH_1})
    if(NOT DEFINED floor_${target})
      continue()  # a header of tools/ or of the tests' own folders
    endif()
    if(floor_${target} GREATER floor_${folder})
      string(APPEND problems "  ${source}: includes \"${included}\" of a higher floor (${folder}/ includes ${target}/)\n")
    elseif(NOT target STREQUAL folder AND floor_${target} EQUAL floor_${folder})
      string(APPEND problems "  ${source}: includes \"${included}\"; ${folder}/ and ${target}/ share a floor and never include each other\n")
    endif()
  endforeach()
endforeach()

list(LENGTH sources file_count)
if(problems)
  message(FATAL_ERROR "Includes that run against the floors:\n${problems}")
endif()
message(STATUS "Layers kept: ${checked} include lines in ${file_count} files")
