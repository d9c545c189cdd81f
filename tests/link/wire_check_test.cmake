# Runs tavu-wire-check on sample lines and compares its report and exit status.
# Arguments: -DCHECKER=<program> -DDATA_DIR=<tests/link/wire_check> -DWORK_DIR=<scratch dir>

# Runs the checker with the arguments after the two given, standard input from ${stdin} if set.
function(check expected_exit expected_output)
    if(stdin)
        set(input INPUT_FILE ${stdin})
    endif()
    execute_process(COMMAND ${CHECKER} ${ARGN} ${input}
        RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE errors)
    if(NOT status EQUAL expected_exit OR NOT output STREQUAL expected_output)
        message(FATAL_ERROR "${ARGN}: exit ${status}, expected ${expected_exit}; printed\n"
            "${output}${errors}\nexpected\n${expected_output}")
    endif()
endfunction()

file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})

file(READ ${DATA_DIR}/host_lines.expected hosts)
check(1 "${hosts}" ${DATA_DIR}/host_lines.jsonl)
file(READ ${DATA_DIR}/command_lines.expected commands)
check(1 "${commands}" --commands ${DATA_DIR}/command_lines.jsonl)
# --quiet prints the rejected lines only.
string(REGEX REPLACE "line [0-9]+: (ok|empty)[^\n]*\n" "" rejected "${hosts}")
check(1 "${rejected}" --quiet ${DATA_DIR}/host_lines.jsonl)

# Every line accepted: status 0; --canonical prints the line as the library writes it.
set(good ${WORK_DIR}/good.jsonl)
file(WRITE ${good} "{ \"type\" : \"hide\", \"extra\": [1] }\n{\"type\":\"show\"}\n")
check(0 "line 1: ok {\"type\":\"hide\"}\nline 2: ok {\"type\":\"show\"}\n" --canonical ${good})
# Several files are labelled; a missing one is a read error (status 2).
check(2 "${good}: line 1: ok hide\n${good}: line 2: ok show\n" ${good} ${WORK_DIR}/missing.jsonl)

# The longest line the helper takes (2097151 bytes and its line feed), then one byte longer.
set(head "{\"type\":\"show\",\"pad\":\"")
string(REPEAT "x" 2097127 padding)
file(WRITE ${WORK_DIR}/long.jsonl "${head}${padding}\"}\n${head}${padding}x\"}\n")
check(1 "line 1: ok show\nline 2: rejected: the line is 2097152 bytes long; the helper drops lines longer than 2097151 bytes\n" ${WORK_DIR}/long.jsonl)

set(stdin ${good}) # no file named: standard input
check(0 "line 1: ok hide\nline 2: ok show\n")
