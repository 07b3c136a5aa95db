# Helpers that keep the build description free of file lists: every folder's
# sources are picked up as they are added, so adding a file never means
# editing a CMakeLists.txt.

set(BREVIK_CORE_LIBRARIES "")

# brevik_core_library(NAME [DEPENDS sub ...]) builds src/NAME/*.cpp into the
# static library brevik_NAME. A folder without sources yet becomes an
# interface library so that dependents still link.
function(brevik_core_library name)
  cmake_parse_arguments(ARG "" "" "DEPENDS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/src/${name}/*.cpp")
  set(target brevik_${name})
  if(sources)
    add_library(${target} STATIC ${sources})
    target_include_directories(${target} PUBLIC "${CMAKE_SOURCE_DIR}/src")
    foreach(dep IN LISTS ARG_DEPENDS)
      target_link_libraries(${target} PUBLIC brevik_${dep})
    endforeach()
  else()
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE "${CMAKE_SOURCE_DIR}/src")
    foreach(dep IN LISTS ARG_DEPENDS)
      target_link_libraries(${target} INTERFACE brevik_${dep})
    endforeach()
  endif()
  target_compile_definitions(${target} INTERFACE "BREVIK_VERSION=\"${PROJECT_VERSION}\"")
  set(BREVIK_CORE_LIBRARIES ${BREVIK_CORE_LIBRARIES} ${target} PARENT_SCOPE)
endfunction()

# The Qt side: platform ports and windows, and the brevik program. A function,
# so that moc runs for these targets only.
function(brevik_qt_parts)
  set(CMAKE_AUTOMOC ON)
  # The chart: QCustomPlot's Qt 6 build (the plain QCustomPlot package is the
  # Qt 5 one), with print support and SVG for the image files.
  find_package(Qt6 REQUIRED COMPONENTS Widgets PrintSupport Svg)
  find_package(QCustomPlotQt6 REQUIRED)
  file(GLOB_RECURSE platform_sources CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/src/platform/*.cpp")
  if(platform_sources)
    add_library(brevik_platform STATIC ${platform_sources})
    target_link_libraries(brevik_platform PUBLIC brevik_core Qt6::Core Qt6::SerialPort Qt6::Widgets
                          Qt6::PrintSupport Qt6::Svg QCustomPlotQt6::QCustomPlotQt6)
    # `slots` and `emit` are plain names in the core: Qt's keywords stay off
    # (QCustomPlot is included through platform/qcustomplot_include.h).
    target_compile_definitions(brevik_platform PUBLIC QCUSTOMPLOT_USE_LIBRARY QT_NO_KEYWORDS)
    # kaldo talks to real devices through the platform's serial port; without
    # Qt it still runs every exchange against the virtual logger.
    if(TARGET brevik_cli_commands)
      target_link_libraries(brevik_cli_commands PUBLIC brevik_platform)
      target_compile_definitions(brevik_cli_commands PUBLIC BREVIK_HAVE_QT_PLATFORM=1)
    endif()
  endif()
  if(EXISTS "${CMAKE_SOURCE_DIR}/src/ui/CMakeLists.txt")
    add_subdirectory(src/ui)
  endif()
endfunction()

# brevik_test_suite(NAME [LIBS ...]): tests/NAME/*.cpp into test_NAME, each
# test registered with CTest on its own.
function(brevik_test_suite name)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/tests/${name}/*.cpp")
  if(NOT sources)
    return()
  endif()
  add_executable(test_${name} ${sources})
  target_include_directories(test_${name} PRIVATE "${CMAKE_SOURCE_DIR}/tests" "${CMAKE_SOURCE_DIR}/src")
  target_link_libraries(test_${name} PRIVATE ${ARG_LIBS} brevik_core brevik_testsupport GTest::gtest GTest::gmock GTest::gtest_main)
  target_compile_definitions(test_${name} PRIVATE
    "BREVIK_DATA_DIR=\"${BREVIK_DATA_DIR}\""
    "BREVIK_TEST_TMP=\"${CMAKE_BINARY_DIR}/test-tmp\"")
  gtest_discover_tests(test_${name} DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "BREVIK_DATA_DIR=${BREVIK_DATA_DIR}")
endfunction()
