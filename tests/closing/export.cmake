# The reader of the serial X reading (the export itself is tested through
# the loaded driver in tests/integration/).
zel_add_test(reduction_reading_test SOURCES reduction_reading_test.cc
             ${PROJECT_SOURCE_DIR}/tests/support/x_reading_sample.cc LIBS zel_reduction_reading)
target_include_directories(reduction_reading_test PRIVATE ${PROJECT_SOURCE_DIR}/tests)
