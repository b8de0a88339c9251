# The class-file reader and the bytecode view: the reader on classes javac
# compiles here (with their debugging tables) and on damaged bytes, the text
# functions on tables of literals, and the view against javap of JDK 17 on
# Debian's jars and on these classes.
find_program(JAVAC javac REQUIRED)
set(classfile_classes ${CMAKE_CURRENT_BINARY_DIR}/classfile_classes)
set(rarities ${CMAKE_SOURCE_DIR}/tests/data/java/classfile/Rarities.java)
add_custom_command(
  OUTPUT ${classfile_classes}/rare/Rarities.class
  COMMAND ${JAVAC} --release 17 -g -d ${classfile_classes} ${rarities}
  DEPENDS ${rarities})
add_custom_target(classfile_native_classes DEPENDS ${classfile_classes}/rare/Rarities.class)

dravik_native_test(classfile_native_tests
  classfile/class_file_test.cpp
  classfile/java_text_test.cpp
  classfile/javap_comparison_test.cpp
  classfile/kotlin_attributes_test.cpp
  classfile/class_members_test.cpp
)
target_compile_definitions(classfile_native_tests PRIVATE
  CLASSFILE_CLASSES="${classfile_classes}" TEST_DATA="${CMAKE_SOURCE_DIR}/tests/data"
  KOTLIN_CLASSES="${DRAVIK_KOTLIN_CLASSES}")
add_dependencies(classfile_native_tests classfile_native_classes)
