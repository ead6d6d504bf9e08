add_library(zel_dataset STATIC
  dataset.cc)
target_link_libraries(zel_dataset PUBLIC zel_values)
