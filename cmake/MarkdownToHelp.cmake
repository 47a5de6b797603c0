# Turns one page of the manual (Markdown) into a page of the program's help.
#
#   cmake -DCMARK=cmark-gfm -DSOURCE=page.md -DOUTPUT=page.html -DLANGUAGE=en|ja
#         [-DENGLISH_DIR=docs/manual] [-DGENERATED_DIR=dir] [-DFALLBACK=1]
#         -P MarkdownToHelp.cmake
#
# Links to other pages (page.md#section) become links to their HTML pages,
# section anchors (<a id="x"></a>) also get the name QTextBrowser looks for,
# and a link or picture whose target does not exist fails the build.
# FALLBACK marks a Japanese page built from the English source.

cmake_minimum_required(VERSION 3.22)

execute_process(
  COMMAND ${CMARK} --unsafe --extension table --extension autolink ${SOURCE}
  OUTPUT_VARIABLE body
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${SOURCE}: cmark-gfm failed (${status})")
endif()

get_filename_component(source_dir ${SOURCE} DIRECTORY)
if(NOT ENGLISH_DIR)
  set(ENGLISH_DIR ${source_dir})
endif()

# Every relative link and picture must name a file of the manual.
string(REGEX MATCHALL "(href|src)=\"[^\"]*\"" targets "${body}")
foreach(target IN LISTS targets)
  string(REGEX REPLACE "^(href|src)=\"([^\"#]*).*$" "\\2" path "${target}")
  if(path STREQUAL "" OR path MATCHES "^[a-z]+:")
    continue()
  endif()
  if(NOT EXISTS ${source_dir}/${path} AND NOT EXISTS ${ENGLISH_DIR}/${path}
     AND NOT EXISTS ${GENERATED_DIR}/${path})
    message(FATAL_ERROR "${SOURCE}: the link or picture '${path}' names no file of the manual")
  endif()
endforeach()

string(REGEX REPLACE "href=\"([^\":#]+)\\.md#" "href=\"\\1.html#" body "${body}")
string(REGEX REPLACE "href=\"([^\":#]+)\\.md\"" "href=\"\\1.html\"" body "${body}")
string(REGEX REPLACE "<a id=\"([^\"]+)\"></a>" "<a id=\"\\1\" name=\"\\1\"></a>" body "${body}")
# QTextBrowser draws table rules from the table's attributes, not from CSS.
string(REPLACE "<table>" "<table border=\"1\" cellspacing=\"0\" cellpadding=\"4\">" body "${body}")

string(REGEX MATCH "<h1>([^<]*)</h1>" heading "${body}")
set(title "${CMAKE_MATCH_1}")
if(title STREQUAL "")
  message(FATAL_ERROR "${SOURCE}: a page of the manual starts with a '# Title' line")
endif()

set(notice "")
if(FALLBACK)
  set(notice "<p class=\"untranslated\">このページはまだ日本語に訳されていないため、英語のページを表示しています。</p>\n")
endif()

file(WRITE ${OUTPUT} "<!DOCTYPE html>
<html lang=\"${LANGUAGE}\">
<head>
<meta charset=\"utf-8\">
<title>${title}</title>
<style>
body { font-family: sans-serif; line-height: 1.4; color: #1d2733; }
h1 { color: #244f86; }
h2 { color: #244f86; margin-top: 1.2em; }
h3 { margin-top: 1em; }
code, kbd { font-family: monospace; background-color: #eef2f7; }
pre { background-color: #eef2f7; }
th { background-color: #e4ebf4; text-align: left; }
.untranslated { background-color: #fff4d6; }
</style>
</head>
<body>
${notice}${body}</body>
</html>
")
