#include "windows/com/safearray_args.h"

#include "windows/com/variant_value.h"

namespace tagwright::com {
namespace {

bool isVariantVector(SAFEARRAY* array) {
  if (array == nullptr || ::SafeArrayGetDim(array) != 1) return false;
  VARTYPE type = VT_EMPTY;
  if (FAILED(::SafeArrayGetVartype(array, &type)) || type != VT_VARIANT) return false;
  return ::SafeArrayGetElemsize(array) == sizeof(VARIANT);
}

// Keeps a SAFEARRAY's data locked for direct reading while it lives.
class SafeArrayDataLock {
 public:
  explicit SafeArrayDataLock(SAFEARRAY* array) noexcept : array_(array) {
    if (FAILED(::SafeArrayAccessData(array_, &data_))) data_ = nullptr;
  }
  SafeArrayDataLock(const SafeArrayDataLock&) = delete;
  SafeArrayDataLock& operator=(const SafeArrayDataLock&) = delete;
  ~SafeArrayDataLock() {
    if (data_ != nullptr) ::SafeArrayUnaccessData(array_);
  }
  const VARIANT* variants() const noexcept { return static_cast<const VARIANT*>(data_); }

 private:
  SAFEARRAY* array_;
  void* data_ = nullptr;
};

}  // namespace

ScriptArgs readScriptArgs(SAFEARRAY* const* params) {
  ScriptArgs args;
  if (params == nullptr || !isVariantVector(*params)) return args;
  SAFEARRAY* array = *params;
  LONG lower = 0;
  LONG upper = -1;
  if (FAILED(::SafeArrayGetLBound(array, 1, &lower)) ||
      FAILED(::SafeArrayGetUBound(array, 1, &upper)) || upper < lower) {
    return args;
  }
  SafeArrayDataLock lock(array);
  if (lock.variants() == nullptr) return args;
  // The element count comes from the bounds; the data pointer addresses the
  // element at the lower bound, so argument k is element k of the data.
  const auto count = static_cast<std::size_t>(static_cast<long long>(upper) - lower + 1);
  args.reserve(count);
  for (std::size_t k = 0; k < count; ++k) args.push_back(toScriptValue(lock.variants()[k]));
  return args;
}

bool storeFirstElement(SAFEARRAY* array, LONG value) {
  if (!isVariantVector(array)) return false;
  VARIANT element;
  ::VariantInit(&element);
  element.vt = VT_I4;
  element.lVal = value;
  LONG index = 0;
  return SUCCEEDED(::SafeArrayPutElement(array, &index, &element));
}

}  // namespace tagwright::com
