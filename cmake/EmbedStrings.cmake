# The built-in English string table is kept as tab-separated text files
# (src/core/app/strings/*.tsv, one file per area) and compiled into the
# core library as one raw string, parsed at run time by the same reader
# that loads the Japanese table. The rows the code refers to carry a name;
# those names become the header out_header (rvq::sid).
function(rvq_embed_strings out_cpp out_header)
  file(GLOB tables CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/core/app/strings/*.tsv)
  list(SORT tables)
  add_custom_command(
    OUTPUT ${out_cpp} ${out_header}
    COMMAND ${CMAKE_COMMAND} -DOUT=${out_cpp} -DHEADER=${out_header} "-DTABLES=${tables}"
            -P ${PROJECT_SOURCE_DIR}/cmake/WriteStrings.cmake
    DEPENDS ${tables} ${PROJECT_SOURCE_DIR}/cmake/WriteStrings.cmake
    COMMENT "Embedding the English string table"
    VERBATIM)
endfunction()
