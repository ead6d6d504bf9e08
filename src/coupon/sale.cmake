# Coupon opening, item sale, the coupon number and the cancellations.
add_library(zel_coupon_sale STATIC
  sale_support.cc
  sale_fields.cc
  coupon_opening.cc
  item_sale.cc
  cancellations.cc
  adjustments.cc)
target_link_libraries(zel_coupon_sale PUBLIC zel_vendor zel_channel zel_start)
zel_driver_part(zel_coupon_sale)
