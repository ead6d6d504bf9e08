# The amount fields of a sale at the edges of the printer's fields (the
# operations themselves are tested through the loaded driver in
# tests/integration/item_sale_test.cc and cancellations_test.cc).
zel_add_test(sale_fields_test SOURCES sale_fields_test.cc LIBS zel_coupon_sale zel_test_support)
