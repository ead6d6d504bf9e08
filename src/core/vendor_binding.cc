// Loading the printer library and binding its entries; stopping; closing
// the older interface's port.
#include "core/vendor_call.h"
#include "core/vendor_table.h"
#include "platform/env.h"
#include "zel/driver_state.h"
#include "zel/operations.h"

namespace zel {
namespace {

void EmptyAll(std::span<const VendorEntrySlot> entries) {
  for (const VendorEntrySlot& entry : entries) entry.set(nullptr);
}

}  // namespace

bool LoadAndBindVendorLibrary() {
  Env& env = *Env::Current();
  if (Zel00101::ImpFisDLLHandle == nullptr) {
    Zel00101::ImpFisDLLHandle = env.OpenLibrary("BemaFI32.dll");
  }
  if (Zel00101::ImpFisDLLHandle == nullptr) return false;

  for (const VendorEntrySlot& entry : BoundVendorEntries()) {
    void* address = env.GetSymbol(Zel00101::ImpFisDLLHandle, entry.name);
    if (address == nullptr) {
      Zel00101::StopImpFiscal();
      return false;
    }
    entry.set(address);
  }
  // Optional: an entry the library lacks stays empty and answers "no reply".
  for (const VendorEntrySlot& entry : OlderInterfaceEntries()) {
    entry.set(env.GetSymbol(Zel00101::ImpFisDLLHandle, entry.name));
  }
  return true;
}

}  // namespace zel

namespace Zel00101 {

void StopImpFiscal() {
  zel::EmptyAll(zel::BoundVendorEntries());
  zel::EmptyAll(zel::OlderInterfaceEntries());
}

bool FechaPorta() { return zel::CallOlderInterface(BemaFechaPorta) == 0; }

}  // namespace Zel00101

ZEL_EXPORT_PLAIN_NAME(void, StopImpFiscal, (), ())
ZEL_EXPORT_PLAIN_NAME(bool, FechaPorta, (), ())
