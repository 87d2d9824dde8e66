# cmake -P script: fails if LIBRARY exports a symbol outside the namespace
# Varnek, that is anything but the library's own interface (hidden
# visibility leaks nothing else; this keeps it that way).
cmake_minimum_required(VERSION 3.25)

find_program(NM nm REQUIRED)
execute_process(COMMAND ${NM} -DC --defined-only ${LIBRARY}
    OUTPUT_VARIABLE symbols COMMAND_ERROR_IS_FATAL ANY)
string(REPLACE "\n" ";" symbols "${symbols}")
set(foreign "")
set(own 0)
foreach(line IN LISTS symbols)
    # "<address> <type> <name>"; absolute version-node symbols carry no code.
    if(line MATCHES "^[0-9a-f]+ [A-Za-z] (.*)$")
        set(name "${CMAKE_MATCH_1}")
        if(name MATCHES "Varnek::")
            math(EXPR own "${own} + 1")
        else()
            string(APPEND foreign "  ${name}\n")
        endif()
    endif()
endforeach()
if(foreign)
    message(FATAL_ERROR "${LIBRARY} exports symbols outside Varnek:\n${foreign}")
endif()
if(own EQUAL 0)
    message(FATAL_ERROR "${LIBRARY} exports nothing")
endif()
message(STATUS "${own} exported symbols, all in Varnek")
