# Every folder of src/ is one small static library, so that a folder's
# code, its tests and its dependencies stay visible in one place.

function(quillop_warnings target)
  # The fuzz build uses another compiler, whose extra warnings are not the
  # point there.
  if(QUILLOP_FUZZ)
    target_compile_options(${target} PRIVATE -Wall -Wextra)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
  endif()
endfunction()

# quillop_module(<name> <dir> LAYER model|ui [DEPS ...])
# Model modules may use Qt Core and Gui only; interface modules add Widgets.
# A module's DEPS must be declared above it: naming one that is not a target
# (yet) is an error, so that a dependency cannot silently go missing.
function(quillop_module name dir)
  cmake_parse_arguments(M "" "LAYER" "DEPS" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS
       ${CMAKE_SOURCE_DIR}/${dir}/*.cpp ${CMAKE_SOURCE_DIR}/${dir}/*.h)
  if(NOT srcs)
    message(FATAL_ERROR "quillop_module(${name}): ${dir} holds no sources")
  endif()
  foreach(dep IN LISTS M_DEPS)
    if(NOT TARGET ${dep})
      message(FATAL_ERROR "quillop_module(${name}): ${dep} is not a target; declare it above ${name}")
    endif()
  endforeach()
  add_library(${name} STATIC ${srcs})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
  if(M_LAYER STREQUAL "ui")
    target_link_libraries(${name} PUBLIC Qt6::Widgets Qt6::PrintSupport ${M_DEPS})
  else()
    target_link_libraries(${name} PUBLIC Qt6::Core Qt6::Gui ${M_DEPS})
  endif()
  quillop_warnings(${name})
  if(TARGET quillop_layout)
    add_dependencies(${name} quillop_layout)
  endif()
  set_property(GLOBAL APPEND PROPERTY QUILLOP_${M_LAYER}_MODULES ${name})
  set_property(GLOBAL APPEND PROPERTY QUILLOP_MODULE_DIRS ${CMAKE_SOURCE_DIR}/${dir})
endfunction()

# Fails when a folder of src/ with sources is no module: its code would
# silently build into nothing.
function(quillop_check_every_folder_is_a_module)
  get_property(dirs GLOBAL PROPERTY QUILLOP_MODULE_DIRS)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/*.cpp ${CMAKE_SOURCE_DIR}/src/*.h)
  foreach(source IN LISTS sources)
    get_filename_component(dir ${source} DIRECTORY)
    if(NOT dir IN_LIST dirs)
      message(FATAL_ERROR "${source} is in no module: declare its folder in src/CMakeLists.txt")
    endif()
  endforeach()
endfunction()

# The include check of docs/ARCHITECTURE.md's layer order, run before any
# module builds: an include that runs back up fails the build.
function(quillop_layout_check)
  find_package(Python3 REQUIRED COMPONENTS Interpreter)
  get_target_property(qt_dirs Qt6::Widgets INTERFACE_INCLUDE_DIRECTORIES)
  set(widgets_dir "")
  foreach(dir IN LISTS qt_dirs)
    if(dir MATCHES "/QtWidgets$")
      set(widgets_dir ${dir})
    endif()
  endforeach()
  set(command ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/scripts/check-layout.py
      --src ${CMAKE_SOURCE_DIR}/src --docs ${CMAKE_SOURCE_DIR}/docs/ARCHITECTURE.md --qt-widgets-dir ${widgets_dir})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/*.cpp ${CMAKE_SOURCE_DIR}/src/*.h
       ${CMAKE_SOURCE_DIR}/runtime/*.cpp ${CMAKE_SOURCE_DIR}/runtime/*.h)
  set(stamp ${CMAKE_BINARY_DIR}/layout.checked)
  add_custom_command(OUTPUT ${stamp}
    COMMAND ${command}
    COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
    DEPENDS ${sources} ${CMAKE_SOURCE_DIR}/docs/ARCHITECTURE.md ${CMAKE_SOURCE_DIR}/scripts/check-layout.py
    COMMENT "Checking that every include points down"
    VERBATIM)
  add_custom_target(quillop_layout ALL DEPENDS ${stamp})
  add_test(NAME layout COMMAND ${command})
  add_test(NAME layout_self_test COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tests/scripts/check_layout_test.py)
  set_tests_properties(layout layout_self_test PROPERTIES LABELS model)
endfunction()

# quillop_tests(<name> <dir> LABEL model|ui LIBS ... [SOURCES ...])
# One test program per folder of tests/, registered with CTest under its label;
# SOURCES adds files from elsewhere (the interface tests' main).
function(quillop_tests name dir)
  cmake_parse_arguments(T "" "LABEL" "LIBS;SOURCES" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp ${CMAKE_SOURCE_DIR}/${dir}/*.h)
  if(NOT srcs)
    return()
  endif()
  foreach(lib IN LISTS T_LIBS)
    if(NOT TARGET ${lib})
      message(FATAL_ERROR "quillop_tests(${name}): ${lib} is not a target")
    endif()
  endforeach()
  add_executable(${name} ${srcs} ${T_SOURCES})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests ${CMAKE_SOURCE_DIR}/src)
  target_link_libraries(${name} PRIVATE ${T_LIBS} quillop_testsupport GTest::gtest GTest::gmock)
  quillop_warnings(${name})
  add_test(NAME ${name} COMMAND ${name})
  # The sanitizer run builds only what the model tests need.
  if(T_LABEL STREQUAL "model")
    if(NOT TARGET quillop_model_tests)
      add_custom_target(quillop_model_tests)
    endif()
    add_dependencies(quillop_model_tests ${name})
  endif()
  set_tests_properties(${name} PROPERTIES LABELS ${T_LABEL}
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;SDL_AUDIODRIVER=dummy"
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
endfunction()

# quillop_man_page(PROGRAM TARGET COMPONENT): the manual page of a program,
# made from its own --help at build time by the custom target TARGET and
# installed with COMPONENT.
function(quillop_man_page program target component)
  find_package(Python3 REQUIRED COMPONENTS Interpreter)
  set(page ${CMAKE_BINARY_DIR}/package/man/${program}.1)
  add_custom_command(OUTPUT ${page}.gz
                     COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/scripts/make-manpages.py ${PROJECT_VERSION}
                             ${CMAKE_BINARY_DIR}/package/man ${program}=$<TARGET_FILE:${program}>
                     COMMAND gzip -9nf ${page}
                     DEPENDS ${program} ${CMAKE_SOURCE_DIR}/scripts/make-manpages.py VERBATIM)
  add_custom_target(${target} ALL DEPENDS ${page}.gz)
  install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT ${component})
endfunction()
