# Fuzzes FUZZER for SECONDS from the seeds in SEEDS, writing what it finds to a fresh
# SCRATCH folder; fails on a crash, leak, timeout, memory blow-up or sanitizer report.
file(REMOVE_RECURSE ${SCRATCH})
file(MAKE_DIRECTORY ${SCRATCH}/corpus ${SCRATCH}/artifacts)
execute_process(
    COMMAND ${FUZZER} -max_total_time=${SECONDS} -timeout=10 -rss_limit_mb=2048 -seed=20240601
            -print_final_stats=1 -artifact_prefix=${SCRATCH}/artifacts/
            ${SCRATCH}/corpus ${SEEDS}
    RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "${FUZZER} failed (${result}); the input is in ${SCRATCH}/artifacts")
endif()
