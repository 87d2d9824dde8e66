# cmake -P script: runs the API reference's comment filter (FILTER, with AWK)
# over small headers and fails unless each comes out as the reference needs
# it: a list in a comment stays a list, a comment documents the declarations
# that follow it without a blank line and no others.
cmake_minimum_required(VERSION 3.25)

set(failures "")
# Fails the script at the end unless filtering <header> gives an output that
# holds <expected>.
function(check name header expected)
    set(file ${CMAKE_CURRENT_BINARY_DIR}/doc_comments_case.h)
    file(WRITE ${file} "${header}")
    execute_process(COMMAND ${AWK} -f ${FILTER} ${file}
        OUTPUT_VARIABLE output COMMAND_ERROR_IS_FATAL ANY)
    file(REMOVE ${file})
    string(FIND "${output}" "${expected}" at)
    if(at EQUAL -1)
        set(failures "${failures}${name}: expected\n${expected}\nin\n${output}\n" PARENT_SCOPE)
    endif()
endfunction()

check("list in the file comment"
    "// Places labels.\n//\n// What it guarantees:\n// - One.\n// - Two,\n//   continued.\n//\n// After.\nclass A {\n};\n"
    "/** Places labels. <p> What it guarantees: <ul><li>One. <li>Two, continued. </ul> <p> After. */ class A {")
check("list in a member's comment"
    "class A {\npublic:\n    // Either:\n    // - this;\n    // - that.\n    void f();\n    void g();\n};\n"
    "    void g();  ///< Either: <ul><li>this; <li>that. </ul>")
check("a blank line ends the group"
    "class A {\npublic:\n    // Makes one.\n    A();\n\n    ~A();\n};\n"
    "\n    ~A();\n")

if(failures)
    message(FATAL_ERROR "${failures}")
endif()
