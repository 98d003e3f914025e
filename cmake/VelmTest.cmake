# The preferences every test reads: the home router is left alone.
set(VELM_TEST_CONFIG ${CMAKE_BINARY_DIR}/tests-config)
file(WRITE ${VELM_TEST_CONFIG}/velmora/velmora.conf "[network]\nopenRouterPort=false\n")

# velm_add_test(<name> SOURCES <files...> LIBS <targets...> [PURE | CORE] [PARTS <part>=<filter>...])
# One test executable, one CTest entry; PARTS runs the long tests (a GoogleTest filter each) as
# CTest entries of their own, <name>_<part>, side by side with the rest. Every test runs with the offscreen Qt platform
# and its working folder set to the program folder, so relative paths behave as at run time.
# PURE: tests of parts without windows, run without any Qt application object.
# CORE: tests of parts that hand work to the main thread but have no window: Qt Core's loop only.
# Every test reads its preferences from a folder of the build, where the home router is never
# asked to open a port: nothing a test starts may send beyond this machine.
function(velm_add_test name)
  cmake_parse_arguments(T "PURE;CORE" "" "SOURCES;LIBS;PARTS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests-bin)
  if(T_PURE)
    target_link_libraries(${name} PRIVATE velm_test_support_pure ${T_LIBS})
  elseif(T_CORE)
    target_link_libraries(${name} PRIVATE velm_test_support_core ${T_LIBS})
  else()
    target_link_libraries(${name} PRIVATE velm_test_support ${T_LIBS})
  endif()
  set(entries ${name})
  set(rest "")
  foreach(part ${T_PARTS})
    string(REPLACE "=" ";" pair ${part})
    list(GET pair 0 suffix)
    list(GET pair 1 filter)
    add_test(NAME ${name}_${suffix} COMMAND ${name} --gtest_filter=${filter})
    list(APPEND entries ${name}_${suffix})
    string(REPLACE ":" ";" filters ${filter})
    list(APPEND rest ${filters})
  endforeach()
  if(rest)
    list(JOIN rest ":" rest)
    add_test(NAME ${name} COMMAND ${name} --gtest_filter=-${rest})
  else()
    add_test(NAME ${name} COMMAND ${name})
  endif()
  set_tests_properties(${entries} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;VELM_BIN_DIR=${VELM_BIN_DIR};XDG_CONFIG_HOME=${VELM_TEST_CONFIG}"
    TIMEOUT 300)
endfunction()
