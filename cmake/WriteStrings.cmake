# Script mode: concatenates the TSV tables into one C++ source.
set(body "")
foreach(table IN LISTS TABLES)
  file(READ ${table} content)
  string(FIND "${content}" ")rvqstrings\"" clash)
  if(NOT clash EQUAL -1)
    message(FATAL_ERROR "${table} contains the raw-string delimiter")
  endif()
  string(APPEND body "${content}\n")
endforeach()
file(WRITE ${OUT}.tmp
  "// Generated from src/core/app/strings/*.tsv; do not edit.\n"
  "namespace rvq {\n"
  "extern const char* const kBuiltinStringTable;\n"
  "const char* const kBuiltinStringTable = R\"rvqstrings(${body})rvqstrings\";\n"
  "}  // namespace rvq\n")
file(RENAME ${OUT}.tmp ${OUT})
