# SPDX-License-Identifier: MIT
# Runs one fuzz target over its corpus and seeds for QUILLON_FUZZ_SECONDS (5 unless set), one
# process, and fails when it finds an input that breaks a check or crashes.
set(seconds 5)
if(DEFINED ENV{QUILLON_FUZZ_SECONDS})
    set(seconds $ENV{QUILLON_FUZZ_SECONDS})
endif()
execute_process(COMMAND ${TARGET} -max_total_time=${seconds} -timeout=10 -rss_limit_mb=1024
                        -print_final_stats=1 ${CORPUS} ${SEEDS}
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "${TARGET} found a failing input (exit ${result}); it is written above")
endif()
