# Coupon closing: payments, the closing message, the receipt after the coupon.
add_library(zel_coupon_closing STATIC
  closing_params.cc
  payments.cc
  closing_message.cc
  coupon_closing.cc)
target_link_libraries(zel_coupon_closing PUBLIC zel_coupon_sale zel_vendor zel_channel zel_closing)
zel_driver_part(zel_coupon_closing)
