# Runs at install time, when the prefix is known: writes the systemd user unit with ExecStart
# naming the installed program, wherever the install put it.
# Set by the install rule: QUORVEX_UNIT_TEMPLATE, QUORVEX_PROGRAM_DIR, QUORVEX_UNIT_DIR.
get_filename_component(prefix "${CMAKE_INSTALL_PREFIX}" ABSOLUTE)
if(QUORVEX_PROGRAM_DIR STREQUAL ".")
    set(program "${prefix}/quorvex_srv")
else()
    set(program "${prefix}/${QUORVEX_PROGRAM_DIR}/quorvex_srv")
endif()
if(program MATCHES "[\r\n]")
    message(FATAL_ERROR "A unit cannot name a program whose path holds a line break: ${program}")
endif()

# systemd reads '%' as a specifier and '$' as a variable; '\' and '"' are escaped inside the
# quotes that a path with blanks or quotes needs.
set(exec "${program}")
string(REPLACE "%" "%%" exec "${exec}")
string(REPLACE "$" "$$" exec "${exec}")
if(exec MATCHES "[ \t\"'\\\\;]")
    string(REPLACE "\\" "\\\\" exec "${exec}")
    string(REPLACE "\"" "\\\"" exec "${exec}")
    set(exec "\"${exec}\"")
endif()
set(QUORVEX_UNIT_EXEC "${exec}")

set(unit "$ENV{DESTDIR}${prefix}/${QUORVEX_UNIT_DIR}/quorvex.service")
message(STATUS "Installing: ${unit}")
configure_file("${QUORVEX_UNIT_TEMPLATE}" "${unit}" @ONLY)
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${unit}")
