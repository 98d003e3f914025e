# The preferences every test reads: the home router is left alone.
set(VELM_TEST_CONFIG ${CMAKE_BINARY_DIR}/tests-config)
file(WRITE ${VELM_TEST_CONFIG}/velmora/velmora.conf "[network]\nopenRouterPort=false\n")

# velm_add_test(<name> SOURCES <files...> LIBS <targets...> [PURE | CORE])
# One test executable, one CTest entry. Every test runs with the offscreen Qt platform
# and its working folder set to the program folder, so relative paths behave as at run time.
# PURE: tests of parts without windows, run without any Qt application object.
# CORE: tests of parts that hand work to the main thread but have no window: Qt Core's loop only.
# Every test reads its preferences from a folder of the build, where the home router is never
# asked to open a port: nothing a test starts may send beyond this machine.
function(velm_add_test name)
  cmake_parse_arguments(T "PURE;CORE" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests-bin)
  if(T_PURE)
    target_link_libraries(${name} PRIVATE velm_test_support_pure ${T_LIBS})
  elseif(T_CORE)
    target_link_libraries(${name} PRIVATE velm_test_support_core ${T_LIBS})
  else()
    target_link_libraries(${name} PRIVATE velm_test_support ${T_LIBS})
  endif()
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;VELM_BIN_DIR=${VELM_BIN_DIR};XDG_CONFIG_HOME=${VELM_TEST_CONFIG}"
    TIMEOUT 300)
endfunction()
