# SPDX-License-Identifier: MIT
# Writes a program's gzipped manual page from its own --help and --version, with help2man, so the
# page cannot drift from the program. A program with subcommands gets each subcommand's --help as
# well. Run by the build: cmake -DPROGRAM=... -DWHATIS=... -DINCLUDE=... -DOUTPUT=... -P ManPage.cmake
foreach(variable PROGRAM WHATIS INCLUDE OUTPUT HELP2MAN GZIP VERSION_TEXT)
    if(NOT DEFINED ${variable})
        message(FATAL_ERROR "ManPage.cmake needs -D${variable}=...")
    endif()
endforeach()
get_filename_component(name ${PROGRAM} NAME)
get_filename_component(workDir ${OUTPUT} DIRECTORY)
set(run ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen) # the window program needs no display

execute_process(COMMAND ${run} ${PROGRAM} --help TIMEOUT 15 RESULT_VARIABLE result
                OUTPUT_VARIABLE help ERROR_QUIET)
set(described ${PROGRAM})
if(NOT result EQUAL 0)
    # A window program that does not parse its command line opens its window instead of
    # answering --help. Until it does, the page is written from a stand-in that prints the
    # usage alone; everything else comes from the include file.
    message(WARNING "${name} --help did not answer (${result}); its page shows the usage alone")
    set(described ${workDir}/${name})
    file(WRITE ${described} "#!/bin/sh\n"
         "if [ \"$1\" = --version ]; then echo '${name} ${VERSION_TEXT}'; else echo 'Usage: ${name}'; fi\n")
    file(CHMOD ${described} PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                        WORLD_READ WORLD_EXECUTE)
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
                        --output=${workDir}/${name}.1 ${described}
                COMMAND_ERROR_IS_FATAL ANY)
# -n leaves the time stamp out, so the same page gives the same file.
execute_process(COMMAND ${GZIP} -9n -c ${workDir}/${name}.1 OUTPUT_FILE ${OUTPUT} COMMAND_ERROR_IS_FATAL ANY)
