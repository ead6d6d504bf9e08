# The movement date read from the printer (the readings themselves are
# tested through the loaded driver in tests/integration/).
zel_add_test(movement_date_test SOURCES movement_date_test.cc LIBS zel_readings)
