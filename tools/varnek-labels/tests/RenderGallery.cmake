# cmake -P script: write the gallery with TOOL into WORK_DIR and render it to
# PNG with RSVG_CONVERT; any message from the renderer fails the test.
cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
execute_process(COMMAND ${TOOL} gallery -o ${WORK_DIR}/labels.svg
    RESULT_VARIABLE result COMMAND_ECHO STDOUT)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "varnek-labels gallery failed (${result})")
endif()
execute_process(COMMAND ${RSVG_CONVERT} ${WORK_DIR}/labels.svg -o ${WORK_DIR}/labels.png
    RESULT_VARIABLE result ERROR_VARIABLE messages)
if(NOT result EQUAL 0 OR NOT messages STREQUAL "")
    message(FATAL_ERROR "rsvg-convert failed (${result}): ${messages}")
endif()
file(READ ${WORK_DIR}/labels.png signature LIMIT 8 HEX)
if(NOT signature STREQUAL "89504e470d0a1a0a")
    message(FATAL_ERROR "rsvg-convert wrote no PNG")
endif()
