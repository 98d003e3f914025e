# cmake -DBUILD=<build folder> -DPREFIX=<prefix> -P InstallTree.cmake: a fresh install there.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX} RESULT_VARIABLE failed OUTPUT_QUIET)
if(failed)
  message(FATAL_ERROR "cmake --install ${BUILD} --prefix ${PREFIX} failed")
endif()
