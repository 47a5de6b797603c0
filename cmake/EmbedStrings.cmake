# The built-in English string table is kept as tab-separated text files
# (src/core/app/strings/*.tsv, one file per area) and compiled into the
# core library as one raw string, parsed at run time by the same reader
# that loads the Japanese table.
function(rvq_embed_strings out_cpp)
  file(GLOB tables CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/core/app/strings/*.tsv)
  list(SORT tables)
  add_custom_command(
    OUTPUT ${out_cpp}
    COMMAND ${CMAKE_COMMAND} -DOUT=${out_cpp} "-DTABLES=${tables}"
            -P ${PROJECT_SOURCE_DIR}/cmake/WriteStrings.cmake
    DEPENDS ${tables} ${PROJECT_SOURCE_DIR}/cmake/WriteStrings.cmake
    COMMENT "Embedding the English string table"
    VERBATIM)
endfunction()
