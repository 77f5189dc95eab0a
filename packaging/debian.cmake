# What Debian asks of every binary package besides the program: its copyright,
# its changelog in /usr/share/doc/taggverk and its manual page, the last two
# compressed to the byte, without a time stamp. `cmake --install` puts them
# in the same places under its prefix. Included from the top CMakeLists.txt.
if(UNIX AND NOT APPLE)
  # SOURCE compressed into the build folder as packaging/NAME.gz.
  function(taggverk_gzip source name)
    set(out ${CMAKE_CURRENT_BINARY_DIR}/packaging/${name})
    add_custom_command(
      OUTPUT ${out}.gz
      COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_SOURCE_DIR}/${source} ${out}
      COMMAND gzip -9 -n -f ${out}
      DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${source}
      VERBATIM)
  endfunction()
  set(taggverk_changelog ${CMAKE_CURRENT_BINARY_DIR}/packaging/changelog.gz)
  set(taggverk_manpage ${CMAKE_CURRENT_BINARY_DIR}/packaging/taggverk.1.gz)
  taggverk_gzip(packaging/debian/changelog changelog)
  taggverk_gzip(docs/taggverk.1 taggverk.1)
  add_custom_target(taggverk_package_docs ALL DEPENDS ${taggverk_changelog} ${taggverk_manpage})
  install(FILES packaging/debian/copyright ${taggverk_changelog} DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/taggverk)
  install(FILES ${taggverk_manpage} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()
