#include "windows/page/com_property_link.h"

#include "windows/com/setting_groups.h"

namespace tagwright::com {

PrinterGroup ComPropertyLink::getPrinterGroup() {
  return readGroup(tagwright::getPrinterGroup(current_),
                   [this](auto... out) { return link_.GetPrinterGroup(out...); });
}

void ComPropertyLink::setPrinterGroup(const PrinterGroup& g) {
  writeGroup(g, [this](auto... value) { return link_.SetPrinterGroup(value...); });
}

LabelGroup ComPropertyLink::getLabelGroup() {
  return readGroup(tagwright::getLabelGroup(current_),
                   [this](auto... out) { return link_.GetLabelGroup(out...); });
}

void ComPropertyLink::setLabelGroup(const LabelGroup& g) {
  writeGroup(g, [this](auto... value) { return link_.SetLabelGroup(value...); });
}

MediaGroup ComPropertyLink::getMediaGroup() {
  return readGroup(tagwright::getMediaGroup(current_),
                   [this](auto... out) { return link_.GetMediaGroup(out...); });
}

void ComPropertyLink::setMediaGroup(const MediaGroup& g) {
  writeGroup(g, [this](auto... value) { return link_.SetMediaGroup(value...); });
}

}  // namespace tagwright::com
