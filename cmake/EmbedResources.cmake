# Embeds text form resources into a target at build time:
#   orvane_embed_resources(<target> FUNCTION <c++ name> FILES <file>...)
# generates a source with `void <c++ name>();` that registers every file with the form reader
# (under its file name, for the class its first line names). Editing a file rebuilds it.
set(ORVANE_EMBED_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/EmbedResourcesScript.cmake)

function(orvane_embed_resources target)
  cmake_parse_arguments(ARG "" "FUNCTION" "FILES" ${ARGN})
  if(NOT ARG_FUNCTION OR NOT ARG_FILES)
    message(FATAL_ERROR "orvane_embed_resources(${target}): FUNCTION and FILES are required")
  endif()
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${ARG_FUNCTION}.cpp)
  set(abs_files)
  foreach(f ${ARG_FILES})
    get_filename_component(a ${f} ABSOLUTE)
    list(APPEND abs_files ${a})
  endforeach()
  string(REPLACE ";" "|" joined "${abs_files}")
  add_custom_command(
    OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -DOUT=${out} -DFUNCTION=${ARG_FUNCTION} "-DFILES=${joined}"
            -P ${ORVANE_EMBED_SCRIPT}
    DEPENDS ${abs_files} ${ORVANE_EMBED_SCRIPT}
    COMMENT "Embedding form resources into ${ARG_FUNCTION}"
    VERBATIM)
  target_sources(${target} PRIVATE ${out})
endfunction()
