# Vendor library binding, the vendor-call pattern and the return analysis.
add_library(zel_vendor STATIC
  vendor_table.cc
  vendor_binding.cc
  vendor_call.cc
  return_analysis.cc)
target_link_libraries(zel_vendor PUBLIC zel_state)
zel_driver_part(zel_vendor)
