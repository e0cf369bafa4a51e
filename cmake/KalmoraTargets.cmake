# Shared helpers: warnings for every target, and one library per folder.

function(kalmora_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wno-unused-parameter)
endfunction()

# kalmora_library(<name> DEPS <targets...>)
# Builds every .cpp/.h of the calling folder into a static library <name>.
function(kalmora_library name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB _src CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  if(NOT _src)
    add_library(${name} INTERFACE)
    target_link_libraries(${name} INTERFACE ${ARG_DEPS})
    return()
  endif()
  add_library(${name} STATIC ${_src})
  target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  kalmora_warnings(${name})
endfunction()

# kalmora_test(<name> [GUI] DEPS <targets...>)
# Builds every .cpp of the calling folder into one GoogleTest program; GUI
# tests run under a QApplication, the others under a QCoreApplication.
function(kalmora_test name)
  cmake_parse_arguments(ARG "GUI" "" "DEPS" ${ARGN})
  file(GLOB _src CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  if(NOT _src)
    return()
  endif()
  if(ARG_GUI)
    list(APPEND _src ${PROJECT_SOURCE_DIR}/tests/support/main/main_gui.cpp)
    list(APPEND ARG_DEPS Qt6::Widgets)
  else()
    list(APPEND _src ${PROJECT_SOURCE_DIR}/tests/support/main/main_core.cpp)
  endif()
  add_executable(${name} ${_src})
  target_include_directories(${name} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gmock)
  kalmora_warnings(${name})
  gtest_discover_tests(${name}
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
    DISCOVERY_TIMEOUT 60)
endfunction()
