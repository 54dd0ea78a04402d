# Makes a gzipped manual page from a program's own --help and --version (help2man), with the
# hand-written sections of an include file. With COMMANDS set, the program is the krn tool and
# every subcommand's own help becomes a COMMANDS section, so the page can never list an option
# the parser does not know.
#
# cmake -DPROGRAM=... -DNAME_TEXT=... -DINCLUDE=... -DOUTPUT=....1.gz [-DCOMMANDS=ON]
#       -DHELP2MAN=... -DVERSION=... -P KrnManPage.cmake
foreach(var PROGRAM NAME_TEXT INCLUDE OUTPUT HELP2MAN VERSION)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "KrnManPage.cmake: ${var} is not set")
  endif()
endforeach()

# In a sanitizer build the programs run here only to print their help; leak reports of the
# libraries they load are no business of a manual page.
set(ENV{ASAN_OPTIONS} "detect_leaks=0")

string(REGEX REPLACE "\\.gz$" "" page "${OUTPUT}")
set(includes --include "${INCLUDE}")

if(COMMANDS)
  execute_process(COMMAND "${PROGRAM}" help OUTPUT_VARIABLE overview RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${PROGRAM} help failed")
  endif()
  # The commands are the indented names under "commands:".
  string(FIND "${overview}" "\ncommands:\n" start)
  if(start LESS 0)
    message(FATAL_ERROR "${PROGRAM} help lists no commands")
  endif()
  string(SUBSTRING "${overview}" ${start} -1 overview)
  string(REGEX MATCHALL "\n  [a-z]+" names "${overview}")
  set(section "[COMMANDS]\n")
  foreach(name IN LISTS names)
    string(STRIP "${name}" name)
    execute_process(COMMAND "${PROGRAM}" help "${name}" OUTPUT_VARIABLE usage
                    RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
      message(FATAL_ERROR "${PROGRAM} help ${name} failed")
    endif()
    # roff: backslashes and minus signs escaped, no line may start with a control character.
    string(REPLACE "\\" "\\e" usage "${usage}")
    string(REPLACE "-" "\\-" usage "${usage}")
    string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" usage "${usage}")
    string(APPEND section ".SS ${name}\n.nf\n${usage}.fi\n")
  endforeach()
  set(generated "${page}.commands.h2m")
  file(WRITE "${generated}" "${section}")
  list(APPEND includes --include "${generated}")
endif()

execute_process(
  COMMAND "${HELP2MAN}" --no-info --section 1 --name "${NAME_TEXT}"
          --source "Quor KRN ${VERSION}" --manual "Quor KRN" ${includes} --output "${page}"
          "${PROGRAM}"
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "help2man failed on ${PROGRAM}")
endif()
# -n: no name or time stamp in the archive, so that rebuilt packages are identical.
execute_process(COMMAND gzip -9nf "${page}" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "gzip failed on ${page}")
endif()
