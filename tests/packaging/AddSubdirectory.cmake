# cmake -P script: configure the project in PARENT_DIR, which adds the library
# in SOURCE_DIR with add_subdirectory, into WORK_DIR. The library leaves the
# parent's install step and packaging alone unless VARNEK_INSTALL asks for
# its install rules.
cmake_minimum_required(VERSION 3.25)

function(configure build)
    file(REMOVE_RECURSE ${build})
    execute_process(COMMAND ${CMAKE_COMMAND} -S ${PARENT_DIR} -B ${build}
            -DVARNEK_SOURCE_DIR=${SOURCE_DIR} -DCMAKE_CXX_COMPILER=${CXX_COMPILER} ${ARGN}
        OUTPUT_QUIET RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "configuring ${PARENT_DIR} failed (${result})")
    endif()
endfunction()

# Everything a build directory's install scripts would install.
function(read_install_scripts build out)
    file(GLOB_RECURSE scripts ${build}/cmake_install.cmake)
    set(text "")
    foreach(script IN LISTS scripts)
        file(READ ${script} content)
        string(APPEND text "${content}")
    endforeach()
    set(${out} "${text}" PARENT_SCOPE)
endfunction()

configure(${WORK_DIR}/default)
if(EXISTS ${WORK_DIR}/default/CPackConfig.cmake)
    message(FATAL_ERROR "the library wrote a CPack configuration for its parent")
endif()
read_install_scripts(${WORK_DIR}/default scripts)
if(NOT scripts MATCHES "share/parent")
    message(FATAL_ERROR "the parent's own install rule is missing")
endif()
foreach(unexpected "varnek\\.h" "VarnekConfig" "varnek\\.pc" "libvarnek" "LICENSE")
    if(scripts MATCHES "${unexpected}")
        message(FATAL_ERROR "the parent's install step holds the library's ${unexpected}")
    endif()
endforeach()

configure(${WORK_DIR}/install -DVARNEK_INSTALL=ON)
if(EXISTS ${WORK_DIR}/install/CPackConfig.cmake)
    message(FATAL_ERROR "the library wrote a CPack configuration for its parent")
endif()
read_install_scripts(${WORK_DIR}/install scripts)
foreach(expected "varnek\\.h" "VarnekConfig" "varnek\\.pc" "libvarnek")
    if(NOT scripts MATCHES "${expected}")
        message(FATAL_ERROR "with VARNEK_INSTALL the install step lacks ${expected}")
    endif()
endforeach()
