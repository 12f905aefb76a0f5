#pragma once

#include <windows.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <tuple>

#include "core/settings/printer_settings.h"

namespace tagwright::com {

// Writes a settings group through the out-pointers of an IPropertyLink get,
// in parameter order. E_POINTER, with nothing written, when any is null.
template <SettingGroup Group, typename... Out>
HRESULT copyGroupOut(const SettingGroupValues<Group>& group, Out*... out) {
  static_assert(sizeof...(Out) == groupSize(Group), "one out-pointer a setting");
  if (((out == nullptr) || ...)) return E_POINTER;
  std::size_t position = 0;
  ((*out = group.values[position++]), ...);
  return S_OK;
}

// Reads a settings group through an IPropertyLink get: `get` is called with
// one out-pointer a setting, each holding the value of `now`; when it fails,
// `now` is the result.
template <SettingGroup Group, typename Get>
SettingGroupValues<Group> readGroup(const SettingGroupValues<Group>& now, Get get) {
  std::array<LONG, groupSize(Group)> values{};
  std::copy(now.values.begin(), now.values.end(), values.begin());
  if (FAILED(std::apply([&](auto&... value) { return get(&value...); }, values))) return now;
  SettingGroupValues<Group> read{};
  std::copy(values.begin(), values.end(), read.values.begin());
  return read;
}

// Passes a settings group to an IPropertyLink set, one argument a setting.
template <SettingGroup Group, typename Set>
HRESULT writeGroup(const SettingGroupValues<Group>& group, Set set) {
  return std::apply([&](auto... value) { return set(static_cast<LONG>(value)...); }, group.values);
}

}  // namespace tagwright::com
