# Windows: the program is a GUI program, so no console window opens beside
# it, and it carries its icon and version information. Included from the top
# CMakeLists.txt after the taggverk target.
if(WIN32)
  enable_language(RC)
  set_target_properties(taggverk PROPERTIES WIN32_EXECUTABLE TRUE)
  configure_file(packaging/windows/taggverk.rc.in ${CMAKE_CURRENT_BINARY_DIR}/taggverk.rc @ONLY)
  target_sources(taggverk PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/taggverk.rc)
endif()
