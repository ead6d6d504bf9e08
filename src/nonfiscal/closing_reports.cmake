# The withdrawal receipt, the closing reports and the product report.
add_library(zel_closing_reports STATIC
  report_layout.cc
  report_input.cc
  product_report.cc
  withdrawal_receipt.cc
  closing_report.cc
  closing_flow.cc)
target_link_libraries(zel_closing_reports PUBLIC zel_nonfiscal)
zel_driver_part(zel_closing_reports)
