# The Debian package, made by CPack: `cpack -G DEB` in the build folder (or
# scripts/package, which builds it with Debian's hardening flags) gives
# vantrose_<version>_<arch>.deb with the two programs, the desktop entry and icon,
# the manual pages, the copyright file and the changelog. Included by the top-level
# CMakeLists.txt after its install() rules; core-only builds never reach it.
include_guard(GLOBAL)
include(GNUInstallDirs)

set(VANTROSE_PACKAGE_MAINTAINER "Ravelstow <packaging@ravelstow.example>"
    CACHE STRING "Maintainer field of the Debian package: Name <address>")
set(VANTROSE_PACKAGE_HOMEPAGE "" CACHE STRING "Homepage field of the Debian package (left out when empty)")

set(manual_pages ${PROJECT_SOURCE_DIR}/resources/vantrose.1 ${PROJECT_SOURCE_DIR}/resources/vantrose-print.1)
set(packaging_out ${PROJECT_BINARY_DIR}/packaging)

# ---- The hand-written files follow the project's version ----
file(STRINGS ${CMAKE_CURRENT_LIST_DIR}/changelog changelog_top LIMIT_COUNT 1)
if(NOT changelog_top MATCHES "^vantrose \\(${PROJECT_VERSION}\\) ")
  message(WARNING "packaging/changelog: the top entry \"${changelog_top}\" is not for version ${PROJECT_VERSION}")
endif()
foreach(page IN LISTS manual_pages)
  file(STRINGS ${page} page_title REGEX "^\\.TH ")
  if(NOT page_title MATCHES "\"Vantrose ${PROJECT_VERSION}\"")
    message(WARNING "${page}: the .TH line does not name \"Vantrose ${PROJECT_VERSION}\"")
  endif()
endforeach()

# ---- Compressed documents: gzip -9n (no name, no time stamp), as Debian wants them ----
find_program(VANTROSE_GZIP gzip REQUIRED)
set(packaging_documents)
function(vantrose_gzip source output)
  get_filename_component(name "${output}" NAME_WLE)
  set(work ${packaging_out}/work/${name})
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${packaging_out}/work
    COMMAND ${CMAKE_COMMAND} -E copy ${source} ${work}
    COMMAND ${VANTROSE_GZIP} -9nf ${work}
    COMMAND ${CMAKE_COMMAND} -E rename ${work}.gz ${output}
    DEPENDS ${source}
    COMMENT "Compressing ${name}"
    VERBATIM)
  set(packaging_documents ${packaging_documents} ${output} PARENT_SCOPE)
endfunction()
foreach(page IN LISTS manual_pages)
  get_filename_component(name ${page} NAME)
  vantrose_gzip(${page} ${packaging_out}/${name}.gz)
  install(FILES ${packaging_out}/${name}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
# A native package (a version without a Debian revision) carries changelog.gz.
vantrose_gzip(${CMAKE_CURRENT_LIST_DIR}/changelog ${packaging_out}/changelog.gz)
add_custom_target(vantrose_package_docs ALL DEPENDS ${packaging_documents})
install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright ${packaging_out}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/vantrose)

# ---- Stripping: CPACK_STRIP_FILES runs plain strip; like dh_strip, drop .comment and
# .note too. Only when stripping, so a plain `cmake --install` leaves the programs alone.
if(CMAKE_OBJCOPY)
  install(CODE "
    if(CMAKE_INSTALL_DO_STRIP)
      foreach(program vantrose vantrose-print)
        execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment --remove-section=.note
                                \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/\${program}\"
                        COMMAND_ERROR_IS_FATAL ANY)
      endforeach()
    endif()")
endif()

# ---- Folders 0755 whatever the umask: CMake makes the staging tree's folders through
# it, so they are set after installation, before the package is made.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(staging_script ${packaging_out}/staging_permissions.cmake)
file(WRITE ${staging_script} [[
# Run by CPack on the staging tree of the package.
file(CHMOD_RECURSE "${CPACK_TEMPORARY_DIRECTORY}" DIRECTORY_PERMISSIONS
     OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
]])
set(CPACK_PRE_BUILD_SCRIPTS ${staging_script})

# ---- The package ----
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vantrose)
set(CPACK_PACKAGE_VENDOR Ravelstow)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "decoder, browser and printer for race day handicapping reports")
# Lines of at most 80 characters; an empty line becomes " ." in the control file.
set(CPACK_PACKAGE_DESCRIPTION
"Vantrose turns a race day's scrambled handicapping data file into report
pages: it decodes the day's text, shows the race date, cuts the text into one
page per report (A, X, E and B reports, each tied to a track), and lets the
user browse, check, scratch and archive pages. It prints the checked pages
through the printer's canvas or as a raw PCL 5 job, fitting each page to the
paper, and prints a simulcast post-time schedule.

The package holds the program vantrose and vantrose-print, which prints the
day's checked pages without a window, for scheduled or remote printing.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)  # vantrose_<version>_<arch>.deb
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${VANTROSE_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
if(VANTROSE_PACKAGE_HOMEPAGE)
  set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${VANTROSE_PACKAGE_HOMEPAGE})
endif()
# The libraries come from dpkg-shlibdeps (libc6, libstdc++6, Qt 6, libcups2). On
# Debian 12 libqt6gui6 holds the xcb and offscreen platform plugins and
# libqt6printsupport6 the CUPS print plugin, so they come along. The fonts are
# loaded by name at run time, which dpkg-shlibdeps cannot see.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, fonts-dejavu-core")
# A native Wayland window (otherwise Qt goes through XWayland) and a local print server.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "qt6-wayland, cups")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
