# Installing beyond the programs: the desktop entry with its icons, the AppStream
# metainfo, the man pages (made from the programs' own --help) and brixo-cli's bash
# completion; and the Debian package that scripts/package builds with CPack.

# The program's version lives in one header, read by the programs and by the package.
file(STRINGS "${PROJECT_SOURCE_DIR}/src/app/program_version.h" version_line REGEX "kProgramVersion = \"")
string(REGEX REPLACE ".*kProgramVersion = \"([^\"]+)\".*" "\\1" BRIXO_PROGRAM_VERSION "${version_line}")

set(desktop_dir "${PROJECT_SOURCE_DIR}/data/desktop")
set(BRIXO_APP_ID "org.brixoconfig.BrixoConfig")

if(BRIXO_BUILD_UI)
  install(FILES "${desktop_dir}/${BRIXO_APP_ID}.desktop" DESTINATION share/applications)
  install(FILES "${desktop_dir}/${BRIXO_APP_ID}.metainfo.xml" DESTINATION share/metainfo)
  install(FILES "${desktop_dir}/brixoconfig.svg" DESTINATION share/icons/hicolor/scalable/apps)
  foreach(size 16 32 48 64 128 256)
    install(FILES "${desktop_dir}/icons/brixoconfig-${size}.png"
            DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME brixoconfig.png)
  endforeach()
endif()

if(TARGET brixo-cli)
  install(FILES "${desktop_dir}/brixo-cli.bash-completion"
          DESTINATION share/bash-completion/completions RENAME brixo-cli)
endif()

# The man pages are made with the programs, so they always name the options they take.
set(man_pages)
foreach(program_summary "brixo-cli|read, write, verify and test a Brixo controller from the command line|brixo-sim(1)"
                        "brixo-sim|simulated Brixo controllers on a pseudo-terminal|brixo-cli(1)")
  string(REPLACE "|" ";" parts "${program_summary}")
  list(GET parts 0 program)
  list(GET parts 1 summary)
  list(GET parts 2 see_also)
  if(NOT TARGET ${program})
    continue()
  endif()
  set(page "${CMAKE_BINARY_DIR}/man/${program}.1")
  add_custom_command(
    OUTPUT "${page}"
    COMMAND "${CMAKE_COMMAND}" -DPROGRAM=$<TARGET_FILE:${program}> -DNAME=${program} "-DSUMMARY=${summary}"
            -DVERSION=${BRIXO_PROGRAM_VERSION} "-DSEE_ALSO=${see_also}" -DOUTPUT=${page}
            -P "${PROJECT_SOURCE_DIR}/cmake/help_to_man.cmake"
    DEPENDS ${program} "${PROJECT_SOURCE_DIR}/cmake/help_to_man.cmake"
    COMMENT "Man page of ${program}"
    VERBATIM)
  list(APPEND man_pages "${page}")
endforeach()
if(man_pages)
  add_custom_target(brixo_man_pages ALL DEPENDS ${man_pages})
  install(FILES ${man_pages} DESTINATION share/man/man1)
endif()

# The Debian package. Its dependencies are what the programs link against, as
# dpkg-shlibdeps finds them.
set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "brixoconfig")
set(CPACK_PACKAGE_VERSION "${BRIXO_PROGRAM_VERSION}")
set(CPACK_PACKAGE_CONTACT "The BrixoConfig developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Configure and test a Brixo model-railway accessory controller")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "electronics")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Opening a serial device takes membership of its group; the package says so, it does not
# change anybody's groups.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "BrixoConfig, brixo-cli and brixo-sim configure and test the Brixo accessory controller\n over a serial line, directly or through a Quendal interface unit.")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "bash-completion")
set(CPACK_STRIP_FILES ON)
# Installing and packaging take what is built and build nothing more: scripts/package
# builds only the installed programs, and the package test reuses the test build.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
include(CPack)
