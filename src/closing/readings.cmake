# X and Z readings, fiscal-memory readings, the movement date and the
# daylight-saving mode.
add_library(zel_readings STATIC readings.cc movement_date.cc)
target_link_libraries(zel_readings PUBLIC zel_vendor zel_channel)
zel_driver_part(zel_readings)
