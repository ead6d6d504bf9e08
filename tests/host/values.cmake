zel_add_test(variant_test SOURCES variant_test.cc LIBS zel_values)
