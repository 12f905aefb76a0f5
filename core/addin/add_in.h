#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/addin/catalogue.h"
#include "core/addin/host_result.h"
#include "core/label/label_composer.h"
#include "core/script/script_value.h"
#include "core/settings/printer_settings.h"
#include "core/settings/settings_profile.h"
#include "core/text/code_pages.h"
#include "core/transport/print_abort.h"
#include "core/transport/print_job.h"

namespace tagwright {

// The platform services an add-in object works with.
struct AddInServices {
  const CodePages& codePages;
  JobRunner& jobRunner;
  PrintAbortState& printAbort;
};

// The portable add-in object: every decision that the host can see is made
// here, so that the COM adapter and the command-line host only translate
// types. Out-parameters are written exactly as each operation says; where an
// operation says "untouched" on refusal it does not write them.
class AddIn final : public PropertyLink {
 public:
  static constexpr std::int32_t kInfoVersion = 1000;

  explicit AddIn(const AddInServices& services);

  // Connects to the host's settings store (may be null): registers the
  // profile, loads the settings (Failed when a read fails, and nothing more
  // is done), empties the body and job texts and clears the abort flag.
  HostResult init(SettingsProfile* profile);
  // Saves the settings when a store is connected and forgets the store.
  HostResult done();

  std::u16string_view extensionName() const { return kExtensionName; }
  std::int32_t propertyCount() const { return kPropertyCount; }
  std::int32_t methodCount() const { return kMethodCount; }

  // `number` becomes -1 when no name matches.
  HostResult findProperty(std::u16string_view name, std::int32_t& number) const;
  HostResult findMethod(std::u16string_view name, std::int32_t& number) const;
  // `name` becomes the empty text when refused.
  HostResult propertyName(std::int32_t number, std::int32_t alias, std::u16string& name) const;
  HostResult methodName(std::int32_t number, std::int32_t alias, std::u16string& name) const;

  // `value` is emptied first, then set for 0..20.
  HostResult getProperty(std::int32_t number, ScriptValue& value) const;
  // Accepts only a 32-bit integer value.
  HostResult setProperty(std::int32_t number, const ScriptValue& value);
  // `flag` is untouched when refused.
  HostResult isPropertyReadable(std::int32_t number, bool& flag) const;
  HostResult isPropertyWritable(std::int32_t number, bool& flag) const;

  // `count` becomes 0 when refused.
  HostResult paramCount(std::int32_t method, std::int32_t& count) const;
  // `value` is always emptied.
  HostResult paramDefaultValue(std::int32_t method, std::int32_t param, ScriptValue& value) const;
  // `flag` is untouched when refused.
  HostResult hasReturnValue(std::int32_t method, bool& flag) const;

  HostResult callAsProc(std::int32_t method, const ScriptArgs& args);
  // `result` is untouched for a method that is not a function; otherwise it
  // becomes 1, or 0 when the argument's type is refused.
  HostResult callAsFunc(std::int32_t method, ScriptValue& result, const ScriptArgs& args);

  // The raw group exchange of the settings page: no range check, no side
  // effects.
  PrinterGroup getPrinterGroup() override { return tagwright::getPrinterGroup(settings_); }
  void setPrinterGroup(const PrinterGroup& g) override { tagwright::setPrinterGroup(settings_, g); }
  LabelGroup getLabelGroup() override { return tagwright::getLabelGroup(settings_); }
  void setLabelGroup(const LabelGroup& g) override { tagwright::setLabelGroup(settings_, g); }
  MediaGroup getMediaGroup() override { return tagwright::getMediaGroup(settings_); }
  void setMediaGroup(const MediaGroup& g) override { tagwright::setMediaGroup(settings_, g); }

  const PrinterSettings& settings() const { return settings_; }
  const LabelComposer& label() const { return label_; }

 private:
  void print(std::int32_t copies);

  AddInServices services_;
  SettingsProfile* profile_ = nullptr;
  PrinterSettings settings_;
  LabelComposer label_;
};

}  // namespace tagwright
