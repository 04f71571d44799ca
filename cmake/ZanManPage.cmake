# zan_add_man_page(<program> NAME <one-line description> [INCLUDE <file.h2m>])
# Writes <program>.1 from the program's --help and --version with help2man (with the sections of
# the include file: exit status, files, see also), builds it with everything and installs it into
# share/man/man1. Without help2man it warns and writes nothing.
function(zan_add_man_page program)
  cmake_parse_arguments(M "" "NAME;INCLUDE" "" ${ARGN})
  find_program(HELP2MAN help2man)
  if(NOT HELP2MAN)
    message(WARNING "help2man was not found: the ${program} manual page is not built")
    return()
  endif()
  set(page ${CMAKE_CURRENT_BINARY_DIR}/${program}.1)
  set(include_args)
  if(M_INCLUDE)
    set(include_args --include ${M_INCLUDE})
  endif()
  add_custom_command(OUTPUT ${page}
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0
            ${HELP2MAN} --no-info --name ${M_NAME} ${include_args}
            --output ${page} $<TARGET_FILE:${program}>
    DEPENDS ${program} ${M_INCLUDE}
    COMMENT "Writing the ${program} manual page")
  add_custom_target(${program}-man ALL DEPENDS ${page})
  include(GNUInstallDirs)
  install(FILES ${page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT Runtime)
endfunction()
