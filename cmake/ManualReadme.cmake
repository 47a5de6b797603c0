# The README's list of the manual's pages, made from the pages themselves
# (docs/manual/*.md in the order index.md links them), so that the README
# and the manual cannot tell different stories.
#
#   cmake -DSOURCE_DIR=. -DMODE=check -P cmake/ManualReadme.cmake   fails when the README differs
#   cmake -DSOURCE_DIR=. -DMODE=write -P cmake/ManualReadme.cmake   writes the list into the README

cmake_minimum_required(VERSION 3.22)

set(begin_marker "<!-- The manual's pages, made from docs/manual by cmake/ManualReadme.cmake -->")
set(end_marker "<!-- end of the manual's pages -->")
set(manual ${SOURCE_DIR}/docs/manual)
set(readme ${SOURCE_DIR}/README.md)

# The pages in the order the start page first links them.
file(READ ${manual}/index.md index)
# (Square brackets would confuse CMake's lists: match from the parenthesis.)
string(REGEX MATCHALL "\\(([a-z0-9-]+)\\.md" links "${index}")
set(pages index)
foreach(link IN LISTS links)
  string(REGEX REPLACE "^\\(([a-z0-9-]+)\\.md$" "\\1" page "${link}")
  list(APPEND pages ${page})
endforeach()
list(REMOVE_DUPLICATES pages)
file(GLOB all RELATIVE ${manual} ${manual}/*.md)
foreach(file IN LISTS all)
  string(REGEX REPLACE "\\.md$" "" page "${file}")
  if(NOT page IN_LIST pages)
    message(FATAL_ERROR "docs/manual/${file}: no link to it on the start page (index.md)")
  endif()
endforeach()

set(list "${begin_marker}\n")
foreach(page IN LISTS pages)
  file(STRINGS ${manual}/${page}.md lines ENCODING UTF-8)
  set(title "")
  set(sections "")
  foreach(line IN LISTS lines)
    if(line MATCHES "^# (.*)$" AND title STREQUAL "")
      set(title "${CMAKE_MATCH_1}")
    elseif(line MATCHES "^## (.*)$")
      list(APPEND sections "${CMAKE_MATCH_1}")
    endif()
  endforeach()
  list(JOIN sections ", " sections)
  if(sections STREQUAL "")
    string(APPEND list "- [${title}](docs/manual/${page}.md)\n")
  else()
    string(APPEND list "- [${title}](docs/manual/${page}.md): ${sections}\n")
  endif()
endforeach()
string(APPEND list "${end_marker}")

file(READ ${readme} text)
string(FIND "${text}" "${begin_marker}" start)
string(FIND "${text}" "${end_marker}" stop)
if(start EQUAL -1 OR stop EQUAL -1)
  message(FATAL_ERROR "README.md lacks the markers of the manual's pages")
endif()
string(LENGTH "${end_marker}" end_length)
math(EXPR length "${stop} + ${end_length} - ${start}")
string(SUBSTRING "${text}" ${start} ${length} current)
if(MODE STREQUAL "write")
  string(REPLACE "${current}" "${list}" text "${text}")
  file(WRITE ${readme} "${text}")
elseif(NOT current STREQUAL list)
  message(FATAL_ERROR "README.md's list of the manual's pages differs from docs/manual; "
                      "run: cmake -DSOURCE_DIR=. -DMODE=write -P cmake/ManualReadme.cmake")
endif()
