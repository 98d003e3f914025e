# velm_add_child_folders(): adds every folder beside the calling CMakeLists.txt that has a
# CMakeLists.txt of its own, support/ first, so that a new folder joins by being made.
function(velm_add_child_folders)
  if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/support/CMakeLists.txt)
    add_subdirectory(support)
  endif()
  file(GLOB children LIST_DIRECTORIES true CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*)
  foreach(child ${children})
    get_filename_component(leaf ${child} NAME)
    if(IS_DIRECTORY ${child} AND EXISTS ${child}/CMakeLists.txt AND NOT leaf STREQUAL "support")
      add_subdirectory(${leaf})
    endif()
  endforeach()
endfunction()
