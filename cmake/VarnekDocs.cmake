# The API reference (cmake --build <dir> --target docs): HTML from the public
# headers with Doxygen, into <build>/docs/api/html. Any Doxygen warning, an
# undocumented public name among them, fails the build.
find_package(Doxygen 1.9)
find_program(VARNEK_AWK NAMES awk mawk gawk)
if(NOT DOXYGEN_FOUND OR NOT VARNEK_AWK)
    message(STATUS "Doxygen or awk not found: no docs target")
    return()
endif()
set(VARNEK_DOCS_OUTPUT_DIR ${PROJECT_BINARY_DIR}/docs/api)
configure_file(${PROJECT_SOURCE_DIR}/docs/api/Doxyfile.in ${VARNEK_DOCS_OUTPUT_DIR}/Doxyfile @ONLY)
add_custom_target(docs
    COMMAND ${CMAKE_COMMAND} -E remove -f ${VARNEK_DOCS_OUTPUT_DIR}/warnings.txt
    COMMAND Doxygen::doxygen ${VARNEK_DOCS_OUTPUT_DIR}/Doxyfile
    WORKING_DIRECTORY ${VARNEK_DOCS_OUTPUT_DIR}
    COMMENT "API reference into ${VARNEK_DOCS_OUTPUT_DIR}/html"
    VERBATIM)

# Part of the tests, so that a public name without documentation fails them.
if(VARNEK_BUILD_TESTS)
    add_test(NAME docs.api_reference
        COMMAND ${CMAKE_COMMAND} --build ${PROJECT_BINARY_DIR} --target docs)
    set_tests_properties(docs.api_reference PROPERTIES LABELS docs)
    # The filter that turns the headers' comments into documentation.
    add_test(NAME docs.comment_filter
        COMMAND ${CMAKE_COMMAND} -DAWK=${VARNEK_AWK}
            -DFILTER=${PROJECT_SOURCE_DIR}/docs/api/header-comments.awk
            -P ${PROJECT_SOURCE_DIR}/tests/DocComments.cmake)
    set_tests_properties(docs.comment_filter PROPERTIES LABELS docs)
endif()
