# zel_stand_in_library(<target> <library name> SOURCES <files...> [INSTALL])
#
# Declares a stand-in for one of the outside libraries the driver loads by
# its Windows name (<library name>.dll): a shared library named
# lib<library name>.so on Linux and <library name>.dll on Windows, in the
# build's library folder, beside the driver. Its own calls bind to its own
# entries (on Linux -Bsymbolic, so an entry that shares a name with a driver
# export, such as FechaPorta, never lands in the driver). With INSTALL it is
# installed beside the driver, in the "simulators" component.
function(zel_stand_in_library target library_name)
  cmake_parse_arguments(ARG "INSTALL" "" "SOURCES" ${ARGN})
  add_library(${target} SHARED ${ARG_SOURCES})
  set_target_properties(${target} PROPERTIES OUTPUT_NAME ${library_name} PREFIX "${ZEL_LIBRARY_PREFIX}"
                                             INSTALL_RPATH "$ORIGIN")
  if(NOT WIN32)
    target_link_options(${target} PRIVATE -Wl,-Bsymbolic)
  endif()
  if(ARG_INSTALL)
    install(TARGETS ${target}
            RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT simulators
            LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT simulators
            ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT simulators)
  endif()
endfunction()
