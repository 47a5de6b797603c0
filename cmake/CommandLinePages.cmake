# The manual's command-line pages, made at build time from rvqtool's own
# help (the command table that also gives `rvqtool --help`), so the manual
# and the program cannot disagree. Writes OUT_DIR/command-line.md (the
# intro page of the manual with the list of groups added), the same in
# Japanese under OUT_DIR/ja, and one page per group of commands.
#
#   cmake -DRVQTOOL=path/to/rvqtool -DMANUAL_DIR=docs/manual -DOUT_DIR=dir -P CommandLinePages.cmake

cmake_minimum_required(VERSION 3.22)

include(${CMAKE_CURRENT_LIST_DIR}/CommandLineGroups.cmake)

function(run_rvqtool output)
  execute_process(COMMAND ${RVQTOOL} ${ARGN} WORKING_DIRECTORY ${OUT_DIR}
                  OUTPUT_VARIABLE text RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "rvqtool ${ARGN} failed (${status})")
  endif()
  set(${output} "${text}" PARENT_SCOPE)
endfunction()

file(MAKE_DIRECTORY ${OUT_DIR}/ja)
run_rvqtool(overview --help)

# The commands of the overview: "  name    summary" lines after "commands:".
string(FIND "${overview}" "\ncommands:\n" commands_at)
string(FIND "${overview}" "\noptions" options_at)
if(commands_at EQUAL -1 OR options_at EQUAL -1)
  message(FATAL_ERROR "rvqtool --help has no commands or options part")
endif()
math(EXPR length "${options_at} - ${commands_at}")
string(SUBSTRING "${overview}" ${commands_at} ${length} commands_part)
string(REGEX MATCHALL "\n  [a-z][a-z0-9-]*" names "${commands_part}")
string(REGEX REPLACE "\n  " "" names "${names}")
string(SUBSTRING "${overview}" ${options_at} -1 options_part)
string(STRIP "${options_part}" options_part)

set(placed "")
foreach(group IN LISTS rvq_cli_groups)
  list(APPEND placed ${rvq_cli_${group}_commands})
endforeach()
foreach(name IN LISTS names)
  if(NOT name IN_LIST placed)
    message(FATAL_ERROR "rvqtool has the command '${name}', which no group of the manual's "
                        "command-line pages names (cmake/CommandLinePages.cmake)")
  endif()
endforeach()
foreach(name IN LISTS placed)
  if(NOT name IN_LIST names)
    message(FATAL_ERROR "the manual's command-line pages name '${name}', which rvqtool does not have")
  endif()
endforeach()

# One page per group: every command with its summary and its usage.
foreach(group IN LISTS rvq_cli_groups)
  set(page "# rvqtool: ${rvq_cli_${group}_title}\n\n[The command line](command-line.md)\n")
  foreach(name IN LISTS rvq_cli_${group}_commands)
    run_rvqtool(help ${name} --help)
    string(REGEX REPLACE "\n+$" "" help "${help}")
    string(FIND "${help}" "\n\n" cut REVERSE)
    string(SUBSTRING "${help}" 0 ${cut} usage)
    math(EXPR after "${cut} + 2")
    string(SUBSTRING "${help}" ${after} -1 summary)
    string(SUBSTRING "${summary}" 0 1 first)
    string(SUBSTRING "${summary}" 1 -1 rest)
    string(TOUPPER "${first}" first)
    set(summary "${first}${rest}")
    string(APPEND page "\n<a id=\"${name}\"></a>\n## ${name}\n\n${summary}.\n\n```\n${usage}\n```\n")
  endforeach()
  file(WRITE ${OUT_DIR}/command-line-${group}.md "${page}")
endforeach()

# The intro pages with the groups and the options every command takes.
foreach(language en ja)
  set(intro ${MANUAL_DIR}/command-line.md)
  set(target ${OUT_DIR}/command-line.md)
  set(suffix "")
  set(groups_heading "Commands")
  set(options_heading "Options of every command")
  if(language STREQUAL "ja")
    set(intro ${MANUAL_DIR}/ja/command-line.md)
    set(target ${OUT_DIR}/ja/command-line.md)
    set(suffix _ja)
    set(groups_heading "コマンド")
    set(options_heading "すべてのコマンドに共通のオプション")
  endif()
  file(READ ${intro} page)
  string(APPEND page "\n<a id=\"commands\"></a>\n## ${groups_heading}\n\n")
  foreach(group IN LISTS rvq_cli_groups)
    list(JOIN rvq_cli_${group}_commands ", " listed)
    string(APPEND page "- [${rvq_cli_${group}_title${suffix}}](command-line-${group}.md): ${listed}\n")
  endforeach()
  string(APPEND page "\n<a id=\"options\"></a>\n## ${options_heading}\n\n```\n${options_part}\n```\n")
  file(WRITE ${target} "${page}")
endforeach()
