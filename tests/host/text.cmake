zel_add_test(number_format_test SOURCES number_format_test.cc LIBS zel_text)
zel_add_test(date_time_test SOURCES date_time_test.cc LIBS zel_text)
zel_add_test(date_format_test SOURCES date_format_test.cc LIBS zel_text)
zel_add_test(string_functions_test SOURCES string_functions_test.cc LIBS zel_text)
