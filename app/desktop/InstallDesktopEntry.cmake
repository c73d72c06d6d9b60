# Runs at install time, when the prefix is known: writes the desktop entry with Exec naming the
# installed program, so the entry starts it wherever the install put it.
# Set by the install rule: QUORVEX_APP_ID, QUORVEX_PROGRAM_DIR, QUORVEX_DESKTOP_TEMPLATE,
# QUORVEX_DESKTOP_DIR.
get_filename_component(prefix "${CMAKE_INSTALL_PREFIX}" ABSOLUTE)
if(QUORVEX_PROGRAM_DIR STREQUAL ".")
    set(program "${prefix}/quorvex")
else()
    set(program "${prefix}/${QUORVEX_PROGRAM_DIR}/quorvex")
endif()
if(program MATCHES "[\r\n]")
    message(FATAL_ERROR "A desktop entry cannot name a program whose path holds a line break: ${program}")
endif()

# A path with characters the entry's command line reserves is quoted, and inside the quotes
# '"', '`', '$' and '\' are escaped; then the value's own escaping doubles every '\', and a
# '%' (a field code otherwise) is written twice.
set(exec "${program}")
if(exec MATCHES "[ \t\"'\\\\><~|&;$*?#()`]")
    string(REPLACE "\\" "\\\\" exec "${exec}")
    string(REPLACE "\"" "\\\"" exec "${exec}")
    string(REPLACE "`" "\\`" exec "${exec}")
    string(REPLACE "$" "\\$" exec "${exec}")
    set(exec "\"${exec}\"")
endif()
string(REPLACE "\\" "\\\\" exec "${exec}")
string(REPLACE "%" "%%" exec "${exec}")
set(QUORVEX_DESKTOP_EXEC "${exec}")

set(entry "$ENV{DESTDIR}${prefix}/${QUORVEX_DESKTOP_DIR}/${QUORVEX_APP_ID}.desktop")
message(STATUS "Installing: ${entry}")
configure_file("${QUORVEX_DESKTOP_TEMPLATE}" "${entry}" @ONLY)
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${entry}")
