# Every folder of src/ is one small static library, so that a folder's
# code, its tests and its dependencies stay visible in one place.
# A folder with no sources yet simply produces no library.

function(quillop_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()

# quillop_module(<name> <dir> LAYER model|ui [DEPS ...])
# Model modules may use Qt Core and Gui only; interface modules add Widgets.
function(quillop_module name dir)
  cmake_parse_arguments(M "" "LAYER" "DEPS" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS
       ${CMAKE_SOURCE_DIR}/${dir}/*.cpp ${CMAKE_SOURCE_DIR}/${dir}/*.h)
  if(NOT srcs)
    return()
  endif()
  add_library(${name} STATIC ${srcs})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
  set(existing_deps "")
  foreach(dep IN LISTS M_DEPS)
    if(TARGET ${dep} OR dep MATCHES "::")
      list(APPEND existing_deps ${dep})
    endif()
  endforeach()
  if(M_LAYER STREQUAL "ui")
    target_link_libraries(${name} PUBLIC Qt6::Widgets Qt6::PrintSupport ${existing_deps})
  else()
    target_link_libraries(${name} PUBLIC Qt6::Core Qt6::Gui ${existing_deps})
  endif()
  quillop_warnings(${name})
  set_property(GLOBAL APPEND PROPERTY QUILLOP_${M_LAYER}_MODULES ${name})
endfunction()

# quillop_tests(<name> <dir> LABEL model|ui LIBS ...)
# One test program per folder of tests/, registered with CTest under its label.
function(quillop_tests name dir)
  cmake_parse_arguments(T "" "LABEL" "LIBS" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp ${CMAKE_SOURCE_DIR}/${dir}/*.h)
  if(NOT srcs)
    return()
  endif()
  set(libs "")
  foreach(lib IN LISTS T_LIBS)
    if(TARGET ${lib} OR lib MATCHES "::")
      list(APPEND libs ${lib})
    endif()
  endforeach()
  add_executable(${name} ${srcs})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests ${CMAKE_SOURCE_DIR}/src)
  target_link_libraries(${name} PRIVATE ${libs} quillop_testsupport GTest::gtest GTest::gmock)
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
