# The raw command channel of the older printer interface and the status
# queries.
add_library(zel_channel STATIC command_channel.cc)
target_link_libraries(zel_channel PUBLIC zel_vendor)
zel_driver_part(zel_channel)
