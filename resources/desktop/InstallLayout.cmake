# Runs at install time, first in each component: where the install puts the program and its
# desktop files. Two layouts:
# - a user's own install (the default): the program in a folder of its own, the prefix, which
#   also holds its results file, and the menu entry and the icons in the user's data folder;
# - a package's (DESTDIR set, as every packager's install runs, or QUORVEX_SYSTEM_INSTALL): all
#   of it under the prefix, the program in bin/ and the rest in share/, nothing in any home.
# Sets QUORVEX_PROGRAM_DIR (relative to the prefix) and QUORVEX_DATA_DIR (absolute; DESTDIR is
# put before it by file(INSTALL) itself).
if(QUORVEX_SYSTEM_INSTALL OR NOT "$ENV{DESTDIR}" STREQUAL "")
    set(QUORVEX_PROGRAM_DIR bin)
    get_filename_component(QUORVEX_DATA_DIR "${CMAKE_INSTALL_PREFIX}/share" ABSOLUTE
                           BASE_DIR "$ENV{PWD}")
else()
    set(QUORVEX_PROGRAM_DIR .)
    # XDG_DATA_HOME counts only as an absolute path; otherwise the default folder applies.
    set(QUORVEX_DATA_DIR "$ENV{XDG_DATA_HOME}")
    if(NOT IS_ABSOLUTE "${QUORVEX_DATA_DIR}")
        if("$ENV{HOME}" STREQUAL "")
            message(FATAL_ERROR
                    "Neither XDG_DATA_HOME nor HOME is set: no data folder for the menu entry.")
        endif()
        set(QUORVEX_DATA_DIR "$ENV{HOME}/.local/share")
    endif()
endif()
