# The vendor-call pattern, the return analysis and the binding of the
# printer library.
add_library(zel_fake_fiscal_entries STATIC fake_fiscal_entries.cc)
target_link_libraries(zel_fake_fiscal_entries PUBLIC zel_vendor zel_test_support)

zel_add_test(return_analysis_test SOURCES return_analysis_test.cc LIBS zel_fake_fiscal_entries)
zel_add_test(vendor_call_test SOURCES vendor_call_test.cc LIBS zel_fake_fiscal_entries)

# Binds the stand-in library from the build's lib/ folder (and its variant
# without one entry, in lib/nofirmware/) and checks the table's types
# against the stand-in's declarations.
zel_add_test(vendor_binding_test SOURCES vendor_binding_test.cc LIBS zel_vendor zel_test_support)
target_include_directories(vendor_binding_test PRIVATE ${PROJECT_SOURCE_DIR}/sim/fiscal)
target_compile_definitions(vendor_binding_test
  PRIVATE ZEL_TEST_LIBRARY_DIR="${CMAKE_LIBRARY_OUTPUT_DIRECTORY}")
foreach(library BemaFI32 BemaFI32_nofirmware)
  if(TARGET ${library})
    add_dependencies(vendor_binding_test ${library})
  endif()
endforeach()

# The built driver exports the operations under the names a host looks up.
zel_add_test(vendor_exports_test SOURCES vendor_exports_test.cc LIBS zel_platform)
target_compile_definitions(vendor_exports_test
  PRIVATE ZEL_TEST_LIBRARY_DIR="$<TARGET_FILE_DIR:zel00100>")
add_dependencies(vendor_exports_test zel00100)
