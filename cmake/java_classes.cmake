# Compiles Java sources with the host's javac into a folder of classes, warnings
# as errors; a stamp file beside the folder stands for it in dependencies.
#   dravik_java_classes(TARGET name OUTPUT folder SOURCES file...
#                       [RELEASE version] [CLASS_PATH jar...])
function(dravik_java_classes)
  cmake_parse_arguments(ARG "" "TARGET;OUTPUT;RELEASE" "SOURCES;CLASS_PATH" ${ARGN})
  find_program(JAVAC javac REQUIRED)
  set(options -encoding UTF-8 -Xlint:all -Werror)
  if(ARG_RELEASE)
    list(APPEND options --release ${ARG_RELEASE})
  endif()
  if(ARG_CLASS_PATH)
    string(JOIN ":" class_path ${ARG_CLASS_PATH})
    list(APPEND options -cp ${class_path})
  endif()
  add_custom_command(
    OUTPUT ${ARG_OUTPUT}.stamp
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${ARG_OUTPUT}
    COMMAND ${JAVAC} ${options} -d ${ARG_OUTPUT} ${ARG_SOURCES}
    COMMAND ${CMAKE_COMMAND} -E touch ${ARG_OUTPUT}.stamp
    DEPENDS ${ARG_SOURCES}
    VERBATIM)
  add_custom_target(${ARG_TARGET} ALL DEPENDS ${ARG_OUTPUT}.stamp)
endfunction()
