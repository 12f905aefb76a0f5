#include "core/addin/add_in.h"

#include <algorithm>

#include "core/addin/property_values.h"
#include "core/settings/settings_persistence.h"

namespace tagwright {
namespace {

constexpr std::int32_t kMaxPrintCopies = 32767;

}  // namespace

AddIn::AddIn(const AddInServices& services)
    : services_(services), label_(settings_, services.codePages) {}

HostResult AddIn::init(SettingsProfile* profile) {
  profile_ = profile;
  if (profile_ != nullptr) {
    profile_->registerAs(kProfileName);
    if (!LoadSettings(*profile_, settings_)) return HostResult::Failed;
  }
  label_.resetForInit();
  services_.printAbort.clear();
  return HostResult::Ok;
}

HostResult AddIn::done() {
  if (profile_ != nullptr) SaveSettings(*profile_, settings_);
  profile_ = nullptr;
  return HostResult::Ok;
}

HostResult AddIn::findProperty(std::u16string_view name, std::int32_t& number) const {
  number = findPropertyNumber(name).value_or(-1);
  return number == -1 ? HostResult::Refused : HostResult::Ok;
}

HostResult AddIn::findMethod(std::u16string_view name, std::int32_t& number) const {
  number = findMethodNumber(name).value_or(-1);
  return number == -1 ? HostResult::Refused : HostResult::Ok;
}

HostResult AddIn::propertyName(std::int32_t number, std::int32_t alias,
                               std::u16string& name) const {
  const PropertyEntry* entry = propertyEntry(number);
  name = entry ? std::u16string(catalogueName(entry->english, entry->russian, alias)) : u"";
  return entry ? HostResult::Ok : HostResult::Refused;
}

HostResult AddIn::methodName(std::int32_t number, std::int32_t alias, std::u16string& name) const {
  const MethodEntry* entry = methodEntry(number);
  name = entry ? std::u16string(catalogueName(entry->english, entry->russian, alias)) : u"";
  return entry ? HostResult::Ok : HostResult::Refused;
}

HostResult AddIn::getProperty(std::int32_t number, ScriptValue& value) const {
  value = ScriptValue();
  if (!propertyEntry(number)) return HostResult::Refused;
  value = ScriptValue::int32(readProperty(settings_, static_cast<Property>(number)));
  return HostResult::Ok;
}

HostResult AddIn::setProperty(std::int32_t number, const ScriptValue& value) {
  if (!propertyEntry(number) || !value.isInt32()) return HostResult::Refused;
  writeProperty(settings_, static_cast<Property>(number), value.asInt32());
  return HostResult::Ok;
}

HostResult AddIn::isPropertyReadable(std::int32_t number, bool& flag) const {
  if (!propertyEntry(number)) return HostResult::Refused;
  flag = true;
  return HostResult::Ok;
}

HostResult AddIn::isPropertyWritable(std::int32_t number, bool& flag) const {
  return isPropertyReadable(number, flag);
}

HostResult AddIn::paramCount(std::int32_t method, std::int32_t& count) const {
  const MethodEntry* entry = methodEntry(method);
  count = entry ? entry->paramCount : 0;
  return entry ? HostResult::Ok : HostResult::Refused;
}

HostResult AddIn::paramDefaultValue(std::int32_t method, std::int32_t /*param*/,
                                    ScriptValue& value) const {
  value = ScriptValue();
  return methodEntry(method) ? HostResult::Ok : HostResult::Refused;
}

HostResult AddIn::hasReturnValue(std::int32_t method, bool& flag) const {
  const MethodEntry* entry = methodEntry(method);
  if (!entry) return HostResult::Refused;
  flag = entry->hasReturnValue;
  return HostResult::Ok;
}

HostResult AddIn::callAsProc(std::int32_t method, const ScriptArgs& args) {
  if (!methodEntry(method)) return HostResult::Refused;
  switch (static_cast<Method>(method)) {
    case Method::StartLabel: label_.startLabel(); break;
    case Method::PutBarcode: label_.putBarcode(args); break;
    case Method::PutText: label_.putText(args); break;
    case Method::PutRectangle: label_.putRectangle(args); break;
    case Method::InversRectangle: label_.inversRectangle(args); break;
    case Method::PutLoadedText: label_.putLoadedText(args); break;
    case Method::PutImage: label_.putImage(args); break;
    case Method::PutBarcodePDF417: label_.putBarcodePDF417(args); break;
    case Method::Print:
    case Method::PrintToBuff: return HostResult::Refused;
  }
  return HostResult::Ok;
}

HostResult AddIn::callAsFunc(std::int32_t method, ScriptValue& result, const ScriptArgs& args) {
  const bool isPrint = method == static_cast<std::int32_t>(Method::Print);
  if (!isPrint && method != static_cast<std::int32_t>(Method::PrintToBuff)) {
    return HostResult::Refused;
  }
  // The copy count is an integer or a decimal text; a missing argument
  // counts as 0. Any other type is refused with the result 0.
  const ScriptValue& count = argumentAt(args, 0);
  if (!count.isInt32() && !count.isText() && !count.isEmpty()) {
    result = ScriptValue::int32(0);
    return HostResult::Ok;
  }
  std::int32_t copies = argumentAsNumber(count);
  if (isPrint) {
    copies = std::clamp(copies, 0, kMaxPrintCopies);
    print(copies);
  } else {
    label_.finishLabel(copies);
  }
  result = ScriptValue::int32(1);
  return HostResult::Ok;
}

void AddIn::print(std::int32_t copies) {
  if (copies != 0) label_.finishLabel(copies);
  PrintJob job{label_.takeJobText(), settings_.PrinterPort};
  services_.printAbort.clear();
  services_.jobRunner.queue(std::move(job));
}

}  // namespace tagwright
