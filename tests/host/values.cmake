zel_add_test(variant_test SOURCES variant_test.cc LIBS zel_values)
zel_add_test(params_test SOURCES params_test.cc LIBS zel_values)
zel_add_test(codepage_test SOURCES codepage_test.cc LIBS zel_values)
zel_add_test(cipher_test SOURCES cipher_test.cc LIBS zel_values)
