# The program set: everything the program needs at run time. ./start.sh builds only this
# (target velm_program), and `cmake --install` puts it into the installed program folder.
# A target joins with one line in its own CMakeLists.txt:
#
#   velm_program_part(<target> [FOLDER <folder inside the program folder>] [FILES <files...>])
#
# An executable or library is built into build/bin/<folder> (the runnable folder) and installed
# into <prefix>/lib/velmora/<folder>; FILES (paths relative to the calling folder) are copied
# and installed beside it. Examples:
#   velm_program_part(velmora-engine)
#   velm_program_part(tekum FOLDER DllCpu/Tekum FILES Rurika.bmp)
add_custom_target(velm_program ALL)
set(VELM_INSTALL_PROGRAM_DIR lib/velmora)

function(velm_program_part target)
  cmake_parse_arguments(P "" "FOLDER" "FILES" ${ARGN})
  set(built ${VELM_BIN_DIR})
  set(installed ${VELM_INSTALL_PROGRAM_DIR})
  if(P_FOLDER)
    string(APPEND built /${P_FOLDER})
    string(APPEND installed /${P_FOLDER})
  endif()

  get_target_property(type ${target} TYPE)
  if(type STREQUAL "EXECUTABLE")
    set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${built})
    install(TARGETS ${target} RUNTIME DESTINATION ${installed})
  elseif(type STREQUAL "SHARED_LIBRARY" OR type STREQUAL "MODULE_LIBRARY")
    # Loaded by path, never linked: no executable bit, like any plug-in.
    set_target_properties(${target} PROPERTIES LIBRARY_OUTPUT_DIRECTORY ${built})
    install(TARGETS ${target} LIBRARY DESTINATION ${installed}
            PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
  endif()

  foreach(file ${P_FILES})
    get_filename_component(source ${file} ABSOLUTE)
    get_filename_component(leaf ${file} NAME)
    add_custom_command(TARGET ${target} POST_BUILD
      COMMAND ${CMAKE_COMMAND} -E make_directory ${built}
      COMMAND ${CMAKE_COMMAND} -E copy_if_different ${source} ${built}/${leaf}
      VERBATIM)
    install(FILES ${source} DESTINATION ${installed})
  endforeach()
  add_dependencies(velm_program ${target})
endfunction()

# velm_engine_library(<target> FOLDER <folder under DllCpu> PICTURE <file> SOURCES <sources...>)
# An engine as the program finds it: DllCpu/<folder>/TEKUM.DLL, exporting only the contract's
# two functions (every other symbol hidden, static libraries' symbols too), with its picture
# beside it. Link the engine's own code to <target> as usual.
function(velm_engine_library target)
  cmake_parse_arguments(E "" "FOLDER;PICTURE" "SOURCES" ${ARGN})
  add_library(${target} SHARED ${E_SOURCES})
  target_link_options(${target} PRIVATE LINKER:--no-undefined LINKER:--exclude-libs,ALL)
  set_target_properties(${target} PROPERTIES
    PREFIX ""
    OUTPUT_NAME "TEKUM"
    SUFFIX ".DLL"
    NO_SONAME ON
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON)
  velm_program_part(${target} FOLDER DllCpu/${E_FOLDER} FILES ${E_PICTURE})
endfunction()
