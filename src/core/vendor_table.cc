#include "core/vendor_table.h"

#include <array>

// The pointers themselves: all empty until the library is bound.
#define ZEL_DEFINE_VENDOR_POINTER(name, parameters) T##name name = nullptr;

namespace Zel00101 {
ZEL_BOUND_VENDOR_ENTRIES(ZEL_DEFINE_VENDOR_POINTER)
ZEL_OLDER_INTERFACE_ENTRIES(ZEL_DEFINE_VENDOR_POINTER)
ZEL_SPANISH_VENDOR_ENTRIES(ZEL_DEFINE_VENDOR_POINTER)
}  // namespace Zel00101

#undef ZEL_DEFINE_VENDOR_POINTER

namespace zel {
namespace {

// The library hands out plain addresses; a pointer of the table is typed.
// POSIX (and Windows) guarantee that a function address survives the trip
// through void*.
#define ZEL_VENDOR_SLOT(name, parameters)                                                          \
  VendorEntrySlot{                                                                                 \
      #name, [](void* address) { Zel00101::name = reinterpret_cast<Zel00101::T##name>(address); }, \
      []() { return reinterpret_cast<void*>(Zel00101::name); }},

constexpr std::array kBoundEntries{ZEL_BOUND_VENDOR_ENTRIES(ZEL_VENDOR_SLOT)};
constexpr std::array kOlderInterfaceEntries{ZEL_OLDER_INTERFACE_ENTRIES(ZEL_VENDOR_SLOT)};

#undef ZEL_VENDOR_SLOT

static_assert(kBoundEntries.size() == 94, "the start binds 94 entries");
static_assert(kOlderInterfaceEntries.size() == 6, "the older interface has six entries");

}  // namespace

std::span<const VendorEntrySlot> BoundVendorEntries() { return kBoundEntries; }
std::span<const VendorEntrySlot> OlderInterfaceEntries() { return kOlderInterfaceEntries; }

}  // namespace zel
