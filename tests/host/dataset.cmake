zel_add_test(dataset_test SOURCES dataset_test.cc LIBS zel_dataset)
