# The fiscal counters against fake entries, where the printer's answer is
# whatever the test needs.
zel_add_test(next_reduction_number_test SOURCES next_reduction_number_test.cc
  LIBS zel_closing zel_fake_fiscal_entries)
