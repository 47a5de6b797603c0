# Script mode: concatenates the TSV tables into one C++ source (OUT) and
# writes the header of named ids (HEADER).
#
# A row the code refers to carries its C++ name after the id, separated by
# one space:  "1502 kStatusFail<TAB>Fail". The name is stripped before the
# row is embedded, so the run-time reader sees "1502<TAB>Fail" exactly as
# before. Every name is given once and every id is named at most once.
cmake_policy(VERSION 3.22)
set(body "")
set(declarations "")
set(names "")
set(namedIds "")
set(failures "")
foreach(table IN LISTS TABLES)
  file(READ ${table} content)
  string(FIND "${content}" ")rvqstrings\"" clash)
  if(NOT clash EQUAL -1)
    message(FATAL_ERROR "${table} contains the raw-string delimiter")
  endif()
  get_filename_component(tableName ${table} NAME)
  # A leading newline lets every row, the first included, be found after one.
  set(rows "\n${content}")
  string(REGEX MATCHALL "\n[0-9]+ [^\t\n]*" named "${rows}")
  foreach(row IN LISTS named)
    string(REGEX MATCH "^\n([0-9]+) (k[A-Z][A-Za-z0-9]*)$" valid "${row}")
    if(NOT valid)
      string(STRIP "${row}" row)
      string(APPEND failures "  ${tableName}: \"${row}\" is not \"id kName\"\n")
      continue()
    endif()
    set(id ${CMAKE_MATCH_1})
    set(name ${CMAKE_MATCH_2})
    if(name IN_LIST names)
      string(APPEND failures "  ${tableName}: the name ${name} is given twice\n")
    endif()
    if(id IN_LIST namedIds)
      string(APPEND failures "  ${tableName}: id ${id} is named twice\n")
    endif()
    list(APPEND names ${name})
    list(APPEND namedIds ${id})
    string(APPEND declarations "inline constexpr int ${name} = ${id};  // ${tableName}\n")
  endforeach()
  string(REGEX REPLACE "\n([0-9]+) k[A-Za-z0-9]*\t" "\n\\1\t" rows "${rows}")
  string(SUBSTRING "${rows}" 1 -1 content)
  string(APPEND body "${content}\n")
endforeach()
if(failures)
  message(FATAL_ERROR "Named string ids:\n${failures}")
endif()

file(WRITE ${OUT}.tmp
  "// Generated from src/core/app/strings/*.tsv; do not edit.\n"
  "namespace rvq {\n"
  "extern const char* const kBuiltinStringTable;\n"
  "const char* const kBuiltinStringTable = R\"rvqstrings(${body})rvqstrings\";\n"
  "}  // namespace rvq\n")
file(RENAME ${OUT}.tmp ${OUT})

# The header only changes when a name does, so editing a text does not
# rebuild every file that refers to a message.
file(WRITE ${HEADER}.tmp
  "// Generated from the names in src/core/app/strings/*.tsv; do not edit.\n"
  "#pragma once\n\n"
  "// Ids of the string-table entries the program refers to by name.\n"
  "namespace rvq::sid {\n\n"
  "${declarations}"
  "\n}  // namespace rvq::sid\n")
file(COPY_FILE ${HEADER}.tmp ${HEADER} ONLY_IF_DIFFERENT)
file(REMOVE ${HEADER}.tmp)
