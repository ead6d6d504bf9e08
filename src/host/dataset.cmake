# The in-memory dataset engine: values, indexes, filters, the packet and
# file format, the cursor.
add_library(zel_dataset_objects OBJECT
  dataset.cc
  dataset_cursor.cc
  dataset_filter.cc
  dataset_index.cc
  dataset_packet.cc
  dataset_value.cc)
target_link_libraries(zel_dataset_objects PUBLIC zel_headers)
