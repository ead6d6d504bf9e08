# The reader of the printer's serial X reading (Z-reduction export).
add_executable(fuzz_reduction_reading reduction_reading_fuzz.cc)
target_link_libraries(fuzz_reduction_reading PRIVATE zel_reduction_reading)
target_compile_options(fuzz_reduction_reading PRIVATE -fsanitize=fuzzer,address,undefined)
target_link_options(fuzz_reduction_reading PRIVATE -fsanitize=fuzzer,address,undefined)
