# Runs tavu-wire-check on sample lines and compares its report and exit status.
# Arguments: -DCHECKER=<program> -DDATA_DIR=<tests/link/wire_check> -DWORK_DIR=<scratch dir>

function(run_checker expected_exit expected_file)
    execute_process(COMMAND ${CHECKER} ${ARGN}
        RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE errors)
    if(NOT status EQUAL expected_exit)
        message(FATAL_ERROR "${ARGN}: exit ${status}, expected ${expected_exit}\n${output}${errors}")
    endif()
    if(expected_file)
        file(READ ${expected_file} expected)
        if(NOT output STREQUAL expected)
            message(FATAL_ERROR "${ARGN}: got\n${output}\nexpected\n${expected}")
        endif()
    endif()
    set(last_output "${output}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})

run_checker(1 ${DATA_DIR}/host_lines.expected ${DATA_DIR}/host_lines.jsonl)
run_checker(1 ${DATA_DIR}/command_lines.expected --commands ${DATA_DIR}/command_lines.jsonl)
run_checker(1 "" --quiet ${DATA_DIR}/host_lines.jsonl)
string(REGEX MATCHALL "\n" newlines "${last_output}")
list(LENGTH newlines count)
if(NOT count EQUAL 6 OR last_output MATCHES ": ok ")
    message(FATAL_ERROR "--quiet should print the 6 rejected lines only:\n${last_output}")
endif()

# Every line accepted: status 0; --canonical prints the line as the library writes it.
file(WRITE ${WORK_DIR}/good.jsonl "{ \"type\" : \"hide\", \"extra\": [1] }\n{\"type\":\"show\"}\n")
run_checker(0 "" --canonical ${WORK_DIR}/good.jsonl)
if(NOT last_output STREQUAL "line 1: ok {\"type\":\"hide\"}\nline 2: ok {\"type\":\"show\"}\n")
    message(FATAL_ERROR "--canonical printed:\n${last_output}")
endif()

# Several files are labelled; a missing one is a read error (status 2).
run_checker(2 "" ${WORK_DIR}/good.jsonl ${WORK_DIR}/missing.jsonl)
if(NOT last_output MATCHES "good.jsonl: line 2: ok show")
    message(FATAL_ERROR "labelled output expected:\n${last_output}")
endif()

# The longest line the helper takes (2097151 bytes and its line feed), then one byte longer.
set(head "{\"type\":\"show\",\"pad\":\"")
string(LENGTH "${head}\"}" overhead)
math(EXPR pad "2097151 - ${overhead}")
string(REPEAT "x" ${pad} padding)
file(WRITE ${WORK_DIR}/long.jsonl "${head}${padding}\"}\n${head}${padding}x\"}\n")
run_checker(1 "" ${WORK_DIR}/long.jsonl)
set(expected "line 1: ok show\nline 2: rejected: the line is 2097152 bytes long; the helper drops lines longer than 2097151 bytes\n")
if(NOT last_output STREQUAL expected)
    message(FATAL_ERROR "long lines:\n${last_output}")
endif()

# Standard input.
execute_process(COMMAND ${CHECKER} INPUT_FILE ${WORK_DIR}/good.jsonl
    RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_QUIET)
if(NOT status EQUAL 0 OR NOT output STREQUAL "line 1: ok hide\nline 2: ok show\n")
    message(FATAL_ERROR "standard input: exit ${status}\n${output}")
endif()
