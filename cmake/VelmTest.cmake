# velm_add_test(<name> SOURCES <files...> LIBS <targets...> [PURE])
# One test executable, one CTest entry. Every test runs with the offscreen Qt platform
# and its working folder set to the program folder, so relative paths behave as at run time.
# PURE: tests of parts without windows, run without any Qt application object.
function(velm_add_test name)
  cmake_parse_arguments(T "PURE" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests-bin)
  if(T_PURE)
    target_link_libraries(${name} PRIVATE velm_test_support_pure ${T_LIBS})
  else()
    target_link_libraries(${name} PRIVATE velm_test_support ${T_LIBS})
  endif()
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;VELM_BIN_DIR=${VELM_BIN_DIR}"
    TIMEOUT 300)
endfunction()
