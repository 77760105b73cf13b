# Runs at install time: puts the menu entry and the icons into the user's data folder, the entry
# starting the program just installed into CMAKE_INSTALL_PREFIX.

# XDG_DATA_HOME counts only as an absolute path; otherwise the default folder applies.
set(data_home "$ENV{XDG_DATA_HOME}")
if(NOT IS_ABSOLUTE "${data_home}")
    if("$ENV{HOME}" STREQUAL "")
        message(FATAL_ERROR "Neither XDG_DATA_HOME nor HOME is set: no data folder for the menu entry.")
    endif()
    set(data_home "$ENV{HOME}/.local/share")
endif()

file(REAL_PATH "${CMAKE_INSTALL_PREFIX}" prefix BASE_DIRECTORY "$ENV{PWD}")
set(program "${prefix}/${QUORVEX_PROGRAM_NAME}")
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

file(INSTALL "${staged}" DESTINATION "${data_home}/applications")
file(INSTALL "${QUORVEX_ICONS_DIR}/" DESTINATION "${data_home}/icons/hicolor")
