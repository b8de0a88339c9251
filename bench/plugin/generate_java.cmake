# Writes a Java class of LINES source lines to OUT: a header, methods of eight
# lines each (keywords, a string literal, a comment, a branch and a loop), and
# the closing brace, padded with comment lines to the exact count.
#   cmake -DNAME=Bench100 -DLINES=100 -DOUT=Bench100.java -P generate_java.cmake
set(text "package bench;\n\n/** A generated class for the whole-load benchmark. */\npublic class ${NAME} {\n")
set(written 4)
math(EXPR methods "(${LINES} - 5) / 8")
foreach(i RANGE 1 ${methods})
  string(APPEND text
    "  public int method${i}(int a) {\n"
    "    int s = a + ${i}; // a line comment\n"
    "    String t = \"value \" + s;\n"
    "    if (s > 10) { s -= 3; } else { s += 2; }\n"
    "    for (int i = 0; i < 3; i++) { s += i * ${i}; }\n"
    "    /* a block comment */ long l = (long) s << 2;\n"
    "    return s + t.length() + (int) l;\n"
    "  }\n")
  math(EXPR written "${written} + 8")
endforeach()
math(EXPR padding "${LINES} - ${written} - 1")
if(padding GREATER 0)
  foreach(i RANGE 1 ${padding})
    string(APPEND text "  // padding\n")
  endforeach()
endif()
string(APPEND text "}\n")
file(WRITE ${OUT} "${text}")
