# The program's help, built from the manual under docs/manual: one HTML page
# per Markdown page, English in data/help/en and Japanese in data/help/ja of
# the build tree (a page not translated yet is built from the English one),
# with the pictures beside them. Installed to share/rvq-setting-tool/help.

find_program(RVQ_CMARK_GFM cmark-gfm)
if(NOT RVQ_CMARK_GFM)
  message(FATAL_ERROR "cmark-gfm builds the help from docs/manual; scripts/setup-deps installs it")
endif()

set(RVQ_MANUAL_DIR ${PROJECT_SOURCE_DIR}/docs/manual)
set(RVQ_HELP_DIR ${PROJECT_BINARY_DIR}/data/help)
set(RVQ_HELP_FILES "")

# The command-line pages are made from rvqtool's own help at build time.
include(${PROJECT_SOURCE_DIR}/cmake/CommandLineGroups.cmake)
set(RVQ_CLI_PAGES_DIR ${PROJECT_BINARY_DIR}/manual-command-line)
set(RVQ_CLI_PAGES ${RVQ_CLI_PAGES_DIR}/command-line.md ${RVQ_CLI_PAGES_DIR}/ja/command-line.md)
foreach(group IN LISTS rvq_cli_groups)
  list(APPEND RVQ_CLI_PAGES ${RVQ_CLI_PAGES_DIR}/command-line-${group}.md)
endforeach()
add_custom_command(
  OUTPUT ${RVQ_CLI_PAGES}
  COMMAND ${CMAKE_COMMAND} -DRVQTOOL=$<TARGET_FILE:rvqtool> -DMANUAL_DIR=${RVQ_MANUAL_DIR}
          -DOUT_DIR=${RVQ_CLI_PAGES_DIR} -P ${PROJECT_SOURCE_DIR}/cmake/CommandLinePages.cmake
  DEPENDS rvqtool ${RVQ_MANUAL_DIR}/command-line.md ${RVQ_MANUAL_DIR}/ja/command-line.md
          ${PROJECT_SOURCE_DIR}/cmake/CommandLinePages.cmake ${PROJECT_SOURCE_DIR}/cmake/CommandLineGroups.cmake
  COMMENT "Command-line pages of the manual from rvqtool --help"
  VERBATIM)

# rvq_help_page(SOURCE OUTPUT LANGUAGE [FALLBACK])
function(rvq_help_page source output language)
  set(extra "")
  if(ARGN)
    set(extra -DFALLBACK=1)
  endif()
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -DCMARK=${RVQ_CMARK_GFM} -DSOURCE=${source} -DOUTPUT=${output}
            -DLANGUAGE=${language} -DENGLISH_DIR=${RVQ_MANUAL_DIR}
            -DGENERATED_DIR=${RVQ_CLI_PAGES_DIR} ${extra}
            -P ${PROJECT_SOURCE_DIR}/cmake/MarkdownToHelp.cmake
    DEPENDS ${source} ${PROJECT_SOURCE_DIR}/cmake/MarkdownToHelp.cmake
    COMMENT "Help page ${language}/${output}"
    VERBATIM)
  set(RVQ_HELP_FILES ${RVQ_HELP_FILES} ${output} PARENT_SCOPE)
endfunction()

function(rvq_help_picture source output)
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${source} ${output}
    DEPENDS ${source}
    VERBATIM)
  set(RVQ_HELP_FILES ${RVQ_HELP_FILES} ${output} PARENT_SCOPE)
endfunction()

file(GLOB RVQ_MANUAL_PAGES CONFIGURE_DEPENDS ${RVQ_MANUAL_DIR}/*.md)
list(REMOVE_ITEM RVQ_MANUAL_PAGES ${RVQ_MANUAL_DIR}/command-line.md)
rvq_help_page(${RVQ_CLI_PAGES_DIR}/command-line.md ${RVQ_HELP_DIR}/en/command-line.html en)
rvq_help_page(${RVQ_CLI_PAGES_DIR}/ja/command-line.md ${RVQ_HELP_DIR}/ja/command-line.html ja)
foreach(group IN LISTS rvq_cli_groups)
  set(page ${RVQ_CLI_PAGES_DIR}/command-line-${group}.md)
  rvq_help_page(${page} ${RVQ_HELP_DIR}/en/command-line-${group}.html en)
  rvq_help_page(${page} ${RVQ_HELP_DIR}/ja/command-line-${group}.html ja FALLBACK)
endforeach()

foreach(page IN LISTS RVQ_MANUAL_PAGES)
  get_filename_component(name ${page} NAME_WE)
  rvq_help_page(${page} ${RVQ_HELP_DIR}/en/${name}.html en)
  if(EXISTS ${RVQ_MANUAL_DIR}/ja/${name}.md)
    rvq_help_page(${RVQ_MANUAL_DIR}/ja/${name}.md ${RVQ_HELP_DIR}/ja/${name}.html ja)
  else()
    rvq_help_page(${page} ${RVQ_HELP_DIR}/ja/${name}.html ja FALLBACK)
  endif()
endforeach()

foreach(language en ja)
  set(images ${RVQ_MANUAL_DIR}/images)
  if(language STREQUAL "ja")
    set(images ${RVQ_MANUAL_DIR}/ja/images)
  endif()
  file(GLOB pictures CONFIGURE_DEPENDS ${images}/*.png)
  foreach(picture IN LISTS pictures)
    get_filename_component(file ${picture} NAME)
    rvq_help_picture(${picture} ${RVQ_HELP_DIR}/${language}/images/${file})
  endforeach()
endforeach()

add_custom_target(rvq_help ALL DEPENDS ${RVQ_HELP_FILES})
