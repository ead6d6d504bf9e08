# The Z-reduction export: the reader of the printer's serial X reading
# (pure, also used by the benchmark and the fuzz target) and the operation
# that hands its figures to the host as datasets.
add_library(zel_reduction_reading STATIC reduction_reading.cc)
target_link_libraries(zel_reduction_reading PUBLIC zel_values)

add_library(zel_reduction_export STATIC reduction_export.cc)
target_link_libraries(zel_reduction_export PUBLIC zel_reduction_reading zel_closing zel_readings
                                                  zel_start)
zel_driver_part(zel_reduction_export)
