# Coupon closing: the message composition and the closing's input, in-process.
zel_add_test(closing_message_test SOURCES closing_message_test.cc LIBS zel_coupon_closing)
zel_add_test(closing_input_test SOURCES closing_input_test.cc LIBS zel_coupon_closing)
