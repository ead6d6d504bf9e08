zel_add_test(number_format_test SOURCES number_format_test.cc LIBS zel_text)
