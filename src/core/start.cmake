# Driver start, port opening and printer validation.
add_library(zel_start STATIC
  start_support.cc
  start.cc
  pending_document.cc
  printer_clock.cc
  printer_data.cc
  grand_total.cc)
target_link_libraries(zel_start PUBLIC zel_vendor)
zel_driver_part(zel_start)
