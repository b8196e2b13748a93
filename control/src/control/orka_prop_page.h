// COrkaPropPage: the control's one property page, a dialog that says there is nothing to set.
#pragma once

#include "platform/automation.h"

namespace orka {

class COrkaPropPage final : public platform::IPropertyPage {
public:
  platform::HResult QueryInterface(const platform::Guid &iid, void **object) override;
  std::uint32_t AddRef() override;
  std::uint32_t Release() override;
  platform::HResult GetDialog(const platform::PropertyPageDialog **dialog) override;

private:
  friend platform::HResult platform::CreateInstance<COrkaPropPage>(const platform::Guid &, void **);
  COrkaPropPage();
  ~COrkaPropPage() = default;

  platform::RefCount refs_;
};

} // namespace orka
