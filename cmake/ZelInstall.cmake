# What `cmake --install` lays down. Component "driver" (the default one):
# the driver, the host SDK library, the public headers, ecfhost, the CMake
# package (find_package(zel00100), targets zel00100::zelhost and
# zel00100::zel00100) and the pkg-config file. Component "simulators": the
# stand-in libraries, installed beside the driver, where it looks for them.
include(CMakePackageConfigHelpers)

set(ZEL_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/zel00100)

# An installed library finds the SDK library beside itself; ecfhost finds it
# in the library folder (on Windows every DLL sits beside the programs).
file(RELATIVE_PATH zel_lib_from_bin ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_LIBDIR})
set_target_properties(zel00100 zelhost PROPERTIES INSTALL_RPATH "$ORIGIN")
set_target_properties(ecfhost PROPERTIES INSTALL_RPATH "$ORIGIN/${zel_lib_from_bin}")

install(TARGETS zelhost zel00100 EXPORT zel00100Targets
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT driver
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT driver
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT driver
        INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(TARGETS ecfhost RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT driver)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/zel DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}
        COMPONENT driver FILES_MATCHING PATTERN "*.h")

install(EXPORT zel00100Targets NAMESPACE zel00100:: DESTINATION ${ZEL_CMAKE_DIR}
        COMPONENT driver)
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/zel00100Config.cmake.in
                              ${PROJECT_BINARY_DIR}/zel00100Config.cmake
                              INSTALL_DESTINATION ${ZEL_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/zel00100ConfigVersion.cmake
                                 COMPATIBILITY SameMinorVersion)
install(FILES ${PROJECT_BINARY_DIR}/zel00100Config.cmake
              ${PROJECT_BINARY_DIR}/zel00100ConfigVersion.cmake
        DESTINATION ${ZEL_CMAKE_DIR} COMPONENT driver)

file(RELATIVE_PATH ZEL_PC_PREFIX_FROM_PCDIR ${CMAKE_INSTALL_FULL_LIBDIR}/pkgconfig
     ${CMAKE_INSTALL_PREFIX})
configure_file(${PROJECT_SOURCE_DIR}/cmake/zel00100.pc.in ${PROJECT_BINARY_DIR}/zel00100.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/zel00100.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig
        COMPONENT driver)
