# korvelo_strict(TARGET...): the product's own code builds with these warnings as errors
# (tests, benchmarks and fuzz targets keep the project-wide warnings).
function(korvelo_strict)
  foreach(t ${ARGN})
    target_compile_options(${t} PRIVATE -Wsuggest-override -Woverloaded-virtual -Werror)
  endforeach()
endfunction()

# korvelo_library(NAME [RECURSE] DEPS...): a static library of every .cpp in the current
# folder (and, with RECURSE, in its sub-folders).
function(korvelo_library name)
  cmake_parse_arguments(K "RECURSE" "" "DEPS;PRIVATE_DEPS" ${ARGN})
  if(K_RECURSE)
    set(mode GLOB_RECURSE)
  else()
    set(mode GLOB)
  endif()
  file(${mode} srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  file(${mode} hdrs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  add_library(${name} STATIC ${srcs} ${hdrs})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${K_DEPS} PRIVATE ${K_PRIVATE_DEPS})
  korvelo_strict(${name})
endfunction()

# korvelo_test(NAME DIR LIBS... [XVFB]): one GoogleTest binary of every .cpp in DIR.
# Tests run headless on Qt's offscreen platform; XVFB runs the binary under xvfb-run
# for tests that need a real X display or OpenGL.
function(korvelo_test name dir)
  cmake_parse_arguments(K "XVFB" "" "LIBS" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${dir}/*.cpp)
  if(NOT srcs)
    return()
  endif()
  add_executable(${name} ${srcs})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${K_LIBS} GTest::gtest GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE KORVELO_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  if(K_XVFB)
    add_test(NAME ${name} COMMAND xvfb-run -a -s "-screen 0 1280x1024x24" $<TARGET_FILE:${name}>)
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "LIBGL_ALWAYS_SOFTWARE=1;QT_QPA_PLATFORM=xcb")
  else()
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  endif()
  set_tests_properties(${name} PROPERTIES WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR} TIMEOUT 900)
endfunction()

# korvelo_all_libraries(OUT): every library of the project that is built, the program's
# first, for programs that link the lot (benchmarks, fuzz targets).
function(korvelo_all_libraries out)
  set(libs)
  foreach(t korvelo_app_lib korvelo_flat korvelo_memo korvelo_frame korvelo_chart korvelo_grid
            korvelo_edit korvelo_plot korvelo_html korvelo_platform korvelo_core korvelo_base)
    if(TARGET ${t})
      list(APPEND libs ${t})
    endif()
  endforeach()
  set(${out} ${libs} PARENT_SCOPE)
endfunction()
