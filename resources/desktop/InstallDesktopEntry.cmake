# Runs at install time, after InstallLayout.cmake: puts the menu entry and the icons into
# QUORVEX_DATA_DIR, the entry starting the program just installed under CMAKE_INSTALL_PREFIX.

if("${QUORVEX_PROGRAM_DIR}" STREQUAL "bin")
    # Where the package's files will be, not where DESTDIR stages them.
    get_filename_component(prefix "${CMAKE_INSTALL_PREFIX}" ABSOLUTE BASE_DIR "$ENV{PWD}")
    set(program "${prefix}/bin/${QUORVEX_PROGRAM_NAME}")
else()
    file(REAL_PATH "${CMAKE_INSTALL_PREFIX}" prefix BASE_DIRECTORY "$ENV{PWD}")
    set(program "${prefix}/${QUORVEX_PROGRAM_NAME}")
endif()
if(program MATCHES "[\n\r]")
    message(FATAL_ERROR "A menu entry cannot start a program whose path holds a line break.")
endif()

# Exec takes the path as one quoted argument, within which \ " ` $ are escaped; the file's own
# escaping then doubles every backslash, and % is doubled as it introduces field codes.
string(REPLACE "\\" "\\\\" quoted "${program}")
string(REPLACE "\"" "\\\"" quoted "${quoted}")
string(REPLACE "`" "\\`" quoted "${quoted}")
string(REPLACE "$" "\\$" quoted "${quoted}")
string(REPLACE "\\" "\\\\" QUORVEX_EXEC "\"${quoted}\"")
string(REPLACE "%" "%%" QUORVEX_EXEC "${QUORVEX_EXEC}")
string(REPLACE "\\" "\\\\" QUORVEX_TRYEXEC "${program}")

file(READ "${QUORVEX_DESKTOP_TEMPLATE}" entry)
string(CONFIGURE "${entry}" entry @ONLY)
set(staged "${QUORVEX_ICONS_DIR}/../quorvex.desktop")
file(WRITE "${staged}" "${entry}")

file(INSTALL "${staged}" DESTINATION "${QUORVEX_DATA_DIR}/applications")
file(INSTALL "${QUORVEX_ICONS_DIR}/" DESTINATION "${QUORVEX_DATA_DIR}/icons/hicolor")
