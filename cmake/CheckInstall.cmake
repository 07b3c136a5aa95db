# Installs the build into a fresh prefix and runs the installed programs from
# there, away from the source tree: kaldo --help, a kaldo command whose new
# home is seeded from the prefix's share/brevik, and brevik --demo on the
# offscreen platform, which reads a status and saves its screenshots.
#   cmake -DBUILD_DIR=... -DPREFIX=... -DGUI=ON|OFF -DMAN=ON|OFF -P CheckInstall.cmake

function(fail what)
  message(FATAL_ERROR "${what}")
endfunction()

file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0)
  fail("cmake --install failed: ${out}")
endif()

set(expected bin/kaldo share/brevik/default.set share/brevik/help/contents.html
    share/brevik/sim/kaldo5-12bit.logger lib/systemd/system/brevik-answer@.service)
if(GUI)
  list(APPEND expected bin/brevik share/applications/brevik.desktop share/mime/packages/brevik.xml
       share/icons/hicolor/scalable/apps/brevik.svg)
endif()
if(MAN)
  list(APPEND expected share/man/man1/kaldo.1.gz)
  if(GUI)
    list(APPEND expected share/man/man1/brevik.1.gz)
  endif()
endif()
foreach(f IN LISTS expected)
  if(NOT EXISTS "${PREFIX}/${f}")
    fail("not installed: ${f}")
  endif()
endforeach()
find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
if(GUI AND DESKTOP_FILE_VALIDATE)
  execute_process(COMMAND ${DESKTOP_FILE_VALIDATE} "${PREFIX}/share/applications/brevik.desktop"
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0 OR NOT out STREQUAL "")
    fail("the desktop entry is not valid: ${out}")
  endif()
endif()
file(READ "${PREFIX}/lib/systemd/system/brevik-answer@.service" unit)
if(NOT unit MATCHES "ExecStart=${PREFIX}/bin/kaldo answer --port %i\n")
  fail("the unit does not run the installed kaldo:\n${unit}")
endif()

# systemd's own check of the unit, as an instance on a port (it says
# nothing when all is well; its exit status ignores unknown keys).
find_program(SYSTEMD_ANALYZE systemd-analyze)
if(SYSTEMD_ANALYZE)
  set(units "${PREFIX}/unit-check")
  file(MAKE_DIRECTORY "${units}")
  file(COPY_FILE "${PREFIX}/lib/systemd/system/brevik-answer@.service" "${units}/brevik-answer@COM1.service")
  execute_process(COMMAND ${SYSTEMD_ANALYZE} verify --man=no "${units}/brevik-answer@COM1.service"
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0 OR NOT out STREQUAL "")
    fail("systemd-analyze verify: ${out}")
  endif()
endif()

# Nothing may lead the installed programs back to the build.
unset(ENV{BREVIK_DATA_DIR})
unset(ENV{BREVIK_HOME})
unset(ENV{XDG_DATA_HOME})
set(ENV{HOME} "${PREFIX}/user")

execute_process(COMMAND "${PREFIX}/bin/kaldo" --help RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR NOT out MATCHES "usage: kaldo \\[--home DIR\\] COMMAND" OR NOT out MATCHES "\n  ports ")
  fail("installed kaldo --help (${rc}): ${out}${err}")
endif()

# A file only the installed copy of the shipped files has: a new home gets it.
file(WRITE "${PREFIX}/share/brevik/installed-copy.txt" "from the prefix\n")
execute_process(COMMAND "${PREFIX}/bin/kaldo" --home "${PREFIX}/home" status --port sim
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR NOT out MATCHES "ModelBox: ")
  fail("installed kaldo status --port sim (${rc}): ${out}${err}")
endif()
if(NOT EXISTS "${PREFIX}/home/installed-copy.txt" OR NOT EXISTS "${PREFIX}/home/help/contents.html")
  fail("the new home was not seeded from ${PREFIX}/share/brevik")
endif()

if(GUI)
  set(ENV{QT_QPA_PLATFORM} offscreen)
  set(ENV{BREVIK_DEMO_SCREENSHOTS} "${PREFIX}/demo")
  execute_process(COMMAND "${PREFIX}/bin/brevik" --demo TIMEOUT 150
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    fail("installed brevik --demo (${rc}): ${out}${err}")
  endif()
  foreach(shot main.png status.png graph-1-viewports.png)
    if(NOT EXISTS "${PREFIX}/demo/${shot}")
      fail("installed brevik --demo saved no ${shot}")
    endif()
  endforeach()
endif()
file(REMOVE_RECURSE "${PREFIX}")
