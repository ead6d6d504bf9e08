zel_add_test(dataset_test SOURCES dataset_test.cc LIBS zel_dataset)
zel_add_test(dataset_filter_test SOURCES dataset_filter_test.cc LIBS zel_dataset)
zel_add_test(dataset_index_test SOURCES dataset_index_test.cc LIBS zel_dataset)
zel_add_test(dataset_packet_test SOURCES dataset_packet_test.cc
             LIBS zel_dataset zel_test_support)
