#pragma once

#include "addin_interfaces.h"
#include "core/settings/printer_settings.h"

namespace tagwright::com {

// The edited object's IPropertyLink seen as the page logic's PropertyLink.
// A group the object fails to hand out keeps the page's current values.
class ComPropertyLink final : public PropertyLink {
 public:
  ComPropertyLink(IPropertyLink& link, const PrinterSettings& current)
      : link_(link), current_(current) {}

  PrinterGroup getPrinterGroup() override;
  void setPrinterGroup(const PrinterGroup& g) override;
  LabelGroup getLabelGroup() override;
  void setLabelGroup(const LabelGroup& g) override;
  MediaGroup getMediaGroup() override;
  void setMediaGroup(const MediaGroup& g) override;

 private:
  IPropertyLink& link_;
  const PrinterSettings& current_;
};

}  // namespace tagwright::com
