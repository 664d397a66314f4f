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
