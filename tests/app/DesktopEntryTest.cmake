# The desktop entry written at install time, for install prefixes with and without characters
# that the entry's command line reserves: each Exec line must give back the installed program's
# path, and desktop-file-validate, where it is found, must accept each entry without a word.
# Run as: cmake -DSOURCE_DIR=<app/desktop> -DWORK_DIR=<scratch> [-DVALIDATOR=<program>] -P <this>
set(QUORVEX_APP_ID dev.quorvex.Quorvex)
set(QUORVEX_DESKTOP_TEMPLATE "${SOURCE_DIR}/${QUORVEX_APP_ID}.desktop.in")
set(QUORVEX_DESKTOP_DIR share/applications)
set(QUORVEX_PROGRAM_DIR .)

function(expect_exec prefix expected)
    file(REMOVE_RECURSE "${WORK_DIR}")
    set(ENV{DESTDIR} "${WORK_DIR}")
    set(CMAKE_INSTALL_PREFIX "${prefix}")
    include("${SOURCE_DIR}/InstallDesktopEntry.cmake")
    set(written "${WORK_DIR}${prefix}/share/applications/${QUORVEX_APP_ID}.desktop")
    if(NOT CMAKE_INSTALL_MANIFEST_FILES STREQUAL written)
        message(SEND_ERROR "prefix ${prefix}: the manifest lists '${CMAKE_INSTALL_MANIFEST_FILES}'")
    endif()
    file(STRINGS "${written}" exec REGEX "^Exec=")
    if(NOT exec STREQUAL "Exec=${expected}")
        message(SEND_ERROR "prefix ${prefix}: '${exec}', expected 'Exec=${expected}'")
    endif()
    file(STRINGS "${written}" icon REGEX "^Icon=")
    if(NOT icon STREQUAL "Icon=${QUORVEX_APP_ID}")
        message(SEND_ERROR "prefix ${prefix}: '${icon}'")
    endif()
    if(VALIDATOR)
        execute_process(COMMAND "${VALIDATOR}" "${written}" RESULT_VARIABLE result OUTPUT_VARIABLE said
                        ERROR_VARIABLE said)
        if(NOT result EQUAL 0 OR NOT said STREQUAL "")
            message(SEND_ERROR "prefix ${prefix}: desktop-file-validate: ${said}")
        endif()
    endif()
endfunction()

expect_exec([[/home/jane/.local/opt/quorvex]] [[/home/jane/.local/opt/quorvex/quorvex]])
expect_exec([[/home/Jane Doe/.local/opt/quorvex]] [["/home/Jane Doe/.local/opt/quorvex/quorvex"]])
# Inside the quotes '$', '"' and '`' are escaped with '\', and the value's escaping doubles that
# '\'; a '%' is written twice.
expect_exec([[/tmp/q$1"y`z%w]] [["/tmp/q\\$1\\"y\\`z%%w/quorvex"]])
