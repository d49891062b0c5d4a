# Runs a command and checks both its exit status and its output, which CTest's
# PASS_REGULAR_EXPRESSION alone cannot do (it ignores the exit status).
#
#   cmake -DEXIT=zero|nonzero -DOUTPUT=<regex> -P expect_run.cmake -- <command> [args...]
set(command)
set(seen_separator FALSE)
foreach(i RANGE 1 ${CMAKE_ARGC})
    if(seen_separator AND DEFINED CMAKE_ARGV${i})
        list(APPEND command "${CMAKE_ARGV${i}}")
    elseif("${CMAKE_ARGV${i}}" STREQUAL "--")
        set(seen_separator TRUE)
    endif()
endforeach()

execute_process(COMMAND ${command} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
message("${out}${err}")
if(EXIT STREQUAL "zero" AND NOT status EQUAL 0)
    message(FATAL_ERROR "expected success, got exit status ${status}")
elseif(EXIT STREQUAL "nonzero" AND status EQUAL 0)
    message(FATAL_ERROR "expected a failure, got exit status 0")
endif()
if(NOT "${out}${err}" MATCHES "${OUTPUT}")
    message(FATAL_ERROR "output does not match '${OUTPUT}'")
endif()
