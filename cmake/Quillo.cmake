# Build helpers shared by every module folder.
#
# Kernels are portable static libraries built in every build. Windows
# deliverables (DLLs, plug-ins, resource modules, programs) exist only in the
# two mingw builds. Tests: kernel tests run natively and under Wine; Windows
# tests run under Wine with the display and prefix fixture of tests/.

set(QUILLO_BIN_DIR ${CMAKE_BINARY_DIR}/bin)

# Pure portable code: no <windows.h>. Built everywhere.
function(quillo_kernel name)
  cmake_parse_arguments(K "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${K_SOURCES})
  target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC quillo_options ${K_LIBS})
endfunction()

# A Windows DLL with plain export names from a .def file.
#   quillo_dll(target NAME BXDIB3 SUFFIX .DLL DEF x.def SOURCES ... LIBS ...)
function(quillo_dll target)
  if(NOT QUILLO_WINDOWS)
    return()
  endif()
  cmake_parse_arguments(D "" "NAME;SUFFIX;DEF" "SOURCES;LIBS" ${ARGN})
  add_library(${target} SHARED ${D_SOURCES} ${D_DEF})
  set_target_properties(${target} PROPERTIES PREFIX "" OUTPUT_NAME ${D_NAME}
    SUFFIX ${D_SUFFIX} IMPORT_PREFIX "lib" IMPORT_SUFFIX ".a"
    RUNTIME_OUTPUT_DIRECTORY ${QUILLO_BIN_DIR})
  target_include_directories(${target} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_SOURCE_DIR})
  target_link_libraries(${target} PRIVATE quillo_options quillo_win_link ${D_LIBS})
endfunction()

# A resource-only module ("BXCOMM1.R", ...) built by windres from one script.
function(quillo_resource_module target)
  if(NOT QUILLO_WINDOWS)
    return()
  endif()
  cmake_parse_arguments(R "" "NAME;SUFFIX;RC" "DEPENDS" ${ARGN})
  set(CMAKE_C_STANDARD_LIBRARIES "")
  add_library(${target} SHARED ${R_RC})
  set_target_properties(${target} PROPERTIES PREFIX "" OUTPUT_NAME ${R_NAME}
    SUFFIX ${R_SUFFIX} LINKER_LANGUAGE C
    RUNTIME_OUTPUT_DIRECTORY ${QUILLO_BIN_DIR})
  target_link_options(${target} PRIVATE -nostdlib -Wl,--entry,0 -s)
  if(R_DEPENDS)
    set_source_files_properties(${R_RC} PROPERTIES OBJECT_DEPENDS "${R_DEPENDS}")
  endif()
  target_include_directories(${target} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_SOURCE_DIR}
    ${CMAKE_CURRENT_BINARY_DIR})
endfunction()

# A Windows program.
function(quillo_exe target)
  if(NOT QUILLO_WINDOWS)
    return()
  endif()
  cmake_parse_arguments(E "WINDOWS" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${target} ${E_SOURCES})
  if(E_NAME)
    set_target_properties(${target} PROPERTIES OUTPUT_NAME ${E_NAME})
  endif()
  if(E_WINDOWS)
    set_target_properties(${target} PROPERTIES WIN32_EXECUTABLE ON)
  endif()
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${QUILLO_BIN_DIR})
  target_include_directories(${target} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_SOURCE_DIR})
  target_link_libraries(${target} PRIVATE quillo_options quillo_win_link ${E_LIBS})
endfunction()

# A GoogleTest program over portable code: runs natively and, in the win64
# build, under Wine too, so both compilers are held to the same results.
function(quillo_kernel_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  if(QUILLO_FUZZ)
    return()
  endif()
  add_executable(${name} ${T_SOURCES})
  target_include_directories(${name} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE quillo_options ${T_LIBS} quillo_gtest)
  target_compile_definitions(${name} PRIVATE
    QUILLO_SOURCE_DIR="${CMAKE_SOURCE_DIR}" QUILLO_CORPUS_DIR="${QUILLO_CORPUS_DIR}")
  if(QUILLO_WINDOWS)
    target_link_libraries(${name} PRIVATE quillo_win_link)
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${QUILLO_BIN_DIR})
  endif()
  quillo_register_test(${name})
endfunction()

# A GoogleTest program that drives real Windows deliverables under Wine.
function(quillo_win_test name)
  if(NOT QUILLO_WINDOWS)
    return()
  endif()
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS;DEPENDS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_include_directories(${name} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_SOURCE_DIR}
    ${CMAKE_SOURCE_DIR}/tests/win/common)
  target_link_libraries(${name} PRIVATE quillo_options quillo_win_link quillo_wintest ${T_LIBS} quillo_gtest)
  target_compile_definitions(${name} PRIVATE
    QUILLO_SOURCE_DIR="${CMAKE_SOURCE_DIR}" QUILLO_CORPUS_DIR="${QUILLO_CORPUS_DIR}")
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${QUILLO_BIN_DIR})
  if(T_DEPENDS)
    add_dependencies(${name} ${T_DEPENDS})
  endif()
  quillo_register_test(${name})
  if(T_TIMEOUT AND QUILLO_RUN_WIN_TESTS)
    set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT})
  endif()
endfunction()

function(quillo_register_test name)
  if(QUILLO_WINDOWS AND NOT QUILLO_RUN_WIN_TESTS)
    return()  # the 32-bit build only compiles and links its tests
  endif()
  add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
  set_tests_properties(${name} PROPERTIES TIMEOUT 300)
  if(QUILLO_WINDOWS)
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine_session
      WORKING_DIRECTORY ${QUILLO_BIN_DIR} RESOURCE_LOCK wine_display)
  endif()
endfunction()
