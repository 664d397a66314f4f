# Adds every direct sub-folder of the calling folder that has a CMakeLists.txt,
# so a new unit or test folder needs no edit of its parent.
function(qy_add_subfolders)
  file(GLOB entries LIST_DIRECTORIES true CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*)
  foreach(entry ${entries})
    if(IS_DIRECTORY ${entry} AND EXISTS ${entry}/CMakeLists.txt)
      add_subdirectory(${entry})
    endif()
  endforeach()
endfunction()

# Embeds the file a target builds into the program's constant data: NAME.inc
# (its bytes) and NAME.h (constexpr int CONSTANT, its size) under
# ${CMAKE_BINARY_DIR}/generated/embedded, made by the custom target
# qy_embed_NAME.
function(qy_embed_target_file name target constant)
  set(dir ${CMAKE_BINARY_DIR}/generated/embedded)
  add_custom_command(
    OUTPUT ${dir}/${name}.inc ${dir}/${name}.h
    COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
    COMMAND ${CMAKE_COMMAND} -DINPUT=$<TARGET_FILE:${target}> -DOUTPUT=${dir}/${name}.inc -DHEADER=${dir}/${name}.h
            -DCONSTANT=${constant} -P ${CMAKE_SOURCE_DIR}/cmake/embed_bytes.cmake
    DEPENDS ${target} ${CMAKE_SOURCE_DIR}/cmake/embed_bytes.cmake
    COMMENT "Embedding ${name}"
    VERBATIM)
  add_custom_target(qy_embed_${name} DEPENDS ${dir}/${name}.inc ${dir}/${name}.h)
endfunction()

# Names sources of the current folder as one of the byte-level parsers
# (GROUP) that tools/fuzz.sh builds natively; a source may be in several.
function(qy_parser_sources group)
  file(RELATIVE_PATH folder ${CMAKE_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  foreach(source ${ARGN})
    set_property(GLOBAL APPEND PROPERTY QY_PARSER_${group} ${folder}/${source})
  endforeach()
  set_property(GLOBAL APPEND PROPERTY QY_PARSER_GROUPS ${group})
endfunction()

# Writes ${CMAKE_BINARY_DIR}/parser_sources.sh: one bash array per group of
# qy_parser_sources, paths from the source root, for tools/fuzz.sh.
function(qy_write_parser_sources)
  get_property(groups GLOBAL PROPERTY QY_PARSER_GROUPS)
  list(REMOVE_DUPLICATES groups)
  set(text "# Made by CMake: the byte-level parsers' sources by group (qy_parser_sources).\n")
  foreach(group ${groups})
    get_property(sources GLOBAL PROPERTY QY_PARSER_${group})
    list(JOIN sources " " sources)
    string(APPEND text "${group}=(${sources})\n")
  endforeach()
  file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/parser_sources.sh CONTENT "${text}")
endfunction()
