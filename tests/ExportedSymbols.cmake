# cmake -P script: fails unless every dynamic symbol LIBRARY defines is the
# library's own interface, as its version script in cmake/ means it:
#   - a function or member of the namespace Varnek, or the virtual table or
#     type information of one of its classes, judged by the mangled name
#     from its first character (a std:: instance whose signature mentions a
#     Varnek type fails);
#   - not a type of the header-only stand-ins (the application's own
#     geometry and math libraries define those);
#   - no static data other than virtual tables and type information, and
#     the math stand-in's zero vector, one object shared by every module;
#   - bound to the version node VERSION_NODE (default VARNEK_1, the main
#     library's; the translator stand-in's is VARNEK_TRANSLATOR_1).
# With -DLIST=<file> it also writes the exported names there, sorted, so
# that builds can be compared.
cmake_minimum_required(VERSION 3.25)
if(NOT VERSION_NODE)
    set(VERSION_NODE VARNEK_1)
endif()

find_program(NM nm REQUIRED)
execute_process(COMMAND ${NM} -D --defined-only --with-symbol-versions ${LIBRARY}
    OUTPUT_VARIABLE symbols COMMAND_ERROR_IS_FATAL ANY)
string(REPLACE "\n" ";" symbols "${symbols}")

set(own_prefix "^_Z(NK?|T[VIS]N)6Varnek")
set(stand_in "${own_prefix}(5Curve|14CompositeCurve|8VkSpline|8PolyLine|5Point|6Vector)I")
set(shared_zero "^_ZZN6Varnek6VectorIfLi3EE13getZeroVectorEvE6s_zero$")
set(faults "")
set(names "")
foreach(line IN LISTS symbols)
    # "<address> <type> <name>@@<version>"; the version node's own absolute
    # symbol carries no code.
    if(NOT line MATCHES "^[0-9a-f]+ ([A-Za-z]) ([^@]+)(@@?(.*))?$")
        continue()
    endif()
    set(type "${CMAKE_MATCH_1}")
    set(name "${CMAKE_MATCH_2}")
    set(version "${CMAKE_MATCH_4}")
    if(type STREQUAL "A")
        continue()
    endif()
    list(APPEND names "${name}")
    if(name MATCHES "${shared_zero}")
        # Checked for its version below.
    elseif(NOT name MATCHES "${own_prefix}")
        string(APPEND faults "  outside Varnek: ${name}\n")
    elseif(name MATCHES "${stand_in}")
        string(APPEND faults "  stand-in type: ${name}\n")
    elseif(NOT type MATCHES "^[TWi]$" AND NOT name MATCHES "^_ZT[VIS]")
        string(APPEND faults "  static data: ${name}\n")
    endif()
    if(NOT version STREQUAL VERSION_NODE)
        string(APPEND faults "  not in version ${VERSION_NODE}: ${name}@@${version}\n")
    endif()
endforeach()

if(faults)
    message(FATAL_ERROR "${LIBRARY} exports what is not its interface:\n${faults}")
endif()
list(LENGTH names count)
if(count EQUAL 0)
    message(FATAL_ERROR "${LIBRARY} exports nothing")
endif()
if(LIST)
    list(SORT names)
    list(JOIN names "\n" text)
    file(WRITE ${LIST} "${text}\n")
endif()
message(STATUS "${count} exported symbols, all Varnek's interface, version ${VERSION_NODE}")
