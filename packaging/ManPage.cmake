# SPDX-License-Identifier: MIT
# Writes a program's gzipped manual page from its own --help and --version, with help2man, so the
# page cannot drift from the program. A program with subcommands gets each subcommand's --help as
# well. Run by the build: cmake -DPROGRAM=... -DWHATIS=... -DINCLUDE=... -DOUTPUT=... -P ManPage.cmake
foreach(variable PROGRAM WHATIS INCLUDE OUTPUT HELP2MAN GZIP)
    if(NOT DEFINED ${variable})
        message(FATAL_ERROR "ManPage.cmake needs -D${variable}=...")
    endif()
endforeach()
get_filename_component(name ${PROGRAM} NAME)
get_filename_component(workDir ${OUTPUT} DIRECTORY)
set(run ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen) # never looking for a display

# A program that does not answer --help would hold help2man, and the build, for ever.
execute_process(COMMAND ${run} ${PROGRAM} --help TIMEOUT 15 RESULT_VARIABLE result
                OUTPUT_VARIABLE help ERROR_QUIET)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "${name} --help did not answer: ${result}")
endif()

file(READ ${INCLUDE} include)
# Subcommands as CLI11 lists them: a "Subcommands:" heading, then one indented name a line.
string(REGEX MATCH "\nSubcommands:\n(  [^\n]*\n)+" listing "${help}")
string(REGEX MATCHALL "\n  [a-z][-a-z0-9]*" subcommands "${listing}")
if(subcommands)
    string(APPEND include "\n[SUBCOMMANDS]\n")
    foreach(subcommand IN LISTS subcommands)
        string(STRIP "${subcommand}" subcommand)
        execute_process(COMMAND ${run} ${PROGRAM} ${subcommand} --help TIMEOUT 15
                        OUTPUT_VARIABLE subHelp COMMAND_ERROR_IS_FATAL ANY)
        # Shown as it prints, in roff: backslashes and leading dots escaped.
        string(REPLACE "\\" "\\e" subHelp "${subHelp}")
        string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" subHelp "${subHelp}")
        string(APPEND include ".SS ${subcommand}\n.nf\n${subHelp}.fi\n")
    endforeach()
endif()
file(WRITE ${workDir}/${name}.h2m "${include}")

execute_process(COMMAND ${run} ${HELP2MAN} --no-info --name=${WHATIS} --include=${workDir}/${name}.h2m
                        --output=${workDir}/${name}.1 ${PROGRAM}
                COMMAND_ERROR_IS_FATAL ANY)
# -n leaves the time stamp out, so the same page gives the same file.
execute_process(COMMAND ${GZIP} -9n -c ${workDir}/${name}.1 OUTPUT_FILE ${OUTPUT} COMMAND_ERROR_IS_FATAL ANY)
