#include "control/orka_prop_page.h"

#include "control/server.h"

#include <new>

namespace orka {

using namespace platform;

namespace {

// The page's dialog in dialog units, its text exactly as it has always read.
constexpr DialogText kTexts[] = {{7, 25, 229, 16, "No Proprety Page implemented for Orka.OCX"}};
constexpr PropertyPageDialog kDialog{"General", 250, 62, "MS Sans Serif", 8, kTexts};

} // namespace

COrkaPropPage::COrkaPropPage() : refs_(LiveObjects()) {}

HResult COrkaPropPage::QueryInterface(const Guid &iid, void **object) {
  if (object == nullptr)
    return kPointer;
  if (iid == kIidUnknown || iid == kIidPropertyPage) {
    *object = static_cast<IPropertyPage *>(this);
    AddRef();
    return kOk;
  }
  *object = nullptr;
  return kNoInterface;
}

std::uint32_t COrkaPropPage::AddRef() { return refs_.Increment(); }

std::uint32_t COrkaPropPage::Release() {
  const std::uint32_t left = refs_.Decrement();
  if (left == 0)
    delete this;
  return left;
}

HResult COrkaPropPage::GetDialog(const PropertyPageDialog **dialog) {
  if (dialog == nullptr)
    return kPointer;
  *dialog = &kDialog;
  return kOk;
}

} // namespace orka
