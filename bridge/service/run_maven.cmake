# Runs Maven quietly: its output (Maven 3.8 writes colour codes even with
# --batch-mode --quiet) is shown only when the build fails.
#   cmake -DMVN=mvn -DPOM=pom.xml -DBUILD_DIRECTORY=dir -P run_maven.cmake
execute_process(
  COMMAND ${MVN} --batch-mode --quiet -Dstyle.color=never -f ${POM}
          -Ddravik.build.directory=${BUILD_DIRECTORY} package
  RESULT_VARIABLE result
  OUTPUT_VARIABLE output
  ERROR_VARIABLE output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "Maven failed (${result}):\n${output}")
endif()
