# What Debian asks of every binary package besides the program: its copyright
# and its changelog (compressed to the byte, without a time stamp) in
# /usr/share/doc/taggverk. Included from the top CMakeLists.txt.
if(UNIX AND NOT APPLE)
  set(taggverk_changelog ${CMAKE_CURRENT_BINARY_DIR}/packaging/changelog)
  add_custom_command(
    OUTPUT ${taggverk_changelog}.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_SOURCE_DIR}/packaging/debian/changelog ${taggverk_changelog}
    COMMAND gzip -9 -n -f ${taggverk_changelog}
    DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/packaging/debian/changelog
    VERBATIM)
  add_custom_target(taggverk_changelog ALL DEPENDS ${taggverk_changelog}.gz)
  install(FILES packaging/debian/copyright ${taggverk_changelog}.gz
          DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/taggverk)
endif()
