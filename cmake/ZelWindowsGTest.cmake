# GoogleTest for the Windows build, compiled with the cross compiler from the
# sources Debian's googletest package ships. It keeps its own warning flags
# (ours would make its warnings errors).
set(ZEL_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${ZEL_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
set_target_properties(gtest gtest_main gmock gmock_main PROPERTIES COMPILE_OPTIONS "")
