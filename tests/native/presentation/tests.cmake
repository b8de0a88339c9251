dravik_native_test(presentation_native_tests
  presentation/java_keywords_test.cpp
  presentation/java_contextual_keywords_test.cpp
  presentation/colour_contrast_test.cpp
  presentation/stack_position_test.cpp
  presentation/bytecode_line_test.cpp
  presentation/declaration_text_test.cpp
)
