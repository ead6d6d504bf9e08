# Driver start, port opening and printer validation, against fake entries.
add_library(zel_fake_start_entries STATIC fake_start_entries.cc)
target_link_libraries(zel_fake_start_entries PUBLIC zel_fake_fiscal_entries zel_start)

zel_add_test(printer_clock_test SOURCES printer_clock_test.cc LIBS zel_fake_start_entries)
zel_add_test(grand_total_test SOURCES grand_total_test.cc LIBS zel_fake_start_entries)
zel_add_test(port_opening_test SOURCES port_opening_test.cc LIBS zel_fake_start_entries)
