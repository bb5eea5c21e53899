# lumo_add_test(NAME SOURCES file... LIBS target... [TIMEOUT seconds])
# Adds a test executable and registers it with the offscreen platform,
# a fixed locale and the Fusion style, so GUI tests run without a display.
function(lumo_add_test name)
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  # While several people work in one tree, a test whose sources are not
  # written yet can be skipped instead of breaking everyone's configure.
  if(LUMO_DEV_TOLERANT)
    foreach(_src ${T_SOURCES})
      if(NOT IS_ABSOLUTE ${_src})
        set(_src ${CMAKE_CURRENT_SOURCE_DIR}/${_src})
      endif()
      if(NOT EXISTS ${_src})
        message(WARNING "Skipping test ${name}: ${_src} is missing")
        return()
      endif()
    endforeach()
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE lumo_options Qt6::Test ${T_LIBS})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests-bin)
  add_test(NAME ${name} COMMAND ${name})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT}
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8;LANG=C.UTF-8;QT_STYLE_OVERRIDE=Fusion;LUMO_DELIVERED_DB=${LUMO_APP_DIR}/lumo.fc.delivered;LUMO_BUILD_APP_DIR=${LUMO_APP_DIR}")
endfunction()

# lumo_add_test_folder(): every tst_*.cpp file of the calling folder is one
# test, named <folder>_<file>, linked against the whole program and the test
# fixtures.
function(lumo_add_test_folder)
  file(GLOB _tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tst_*.cpp)
  get_filename_component(_dir ${CMAKE_CURRENT_SOURCE_DIR} NAME)
  foreach(_src ${_tests})
    get_filename_component(_name ${_src} NAME_WE)
    lumo_add_test(${_dir}_${_name} SOURCES ${_src} LIBS lumo_app lumo_testsupport)
  endforeach()
endfunction()

# lumo_add_subfolders(): adds every subfolder of the calling folder that has
# a CMakeLists.txt, the shared test support ("support") first because other
# folders link against it.
function(lumo_add_subfolders)
  file(GLOB _subdirs LIST_DIRECTORIES true RELATIVE ${CMAKE_CURRENT_SOURCE_DIR}
       ${CMAKE_CURRENT_SOURCE_DIR}/*)
  list(SORT _subdirs)
  list(REMOVE_ITEM _subdirs support)
  list(PREPEND _subdirs support)
  foreach(_d ${_subdirs})
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${_d}/CMakeLists.txt)
      add_subdirectory(${_d})
    endif()
  endforeach()
endfunction()
