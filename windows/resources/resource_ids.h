// Resource identifiers of the Tagwright module. Used from C++ and from the
// resource script, so only preprocessor definitions belong here.
#pragma once

#define IDR_TYPELIB 1
#define IDR_REGISTRY 102

#ifdef __cplusplus
namespace tagwright::com {
inline constexpr int kTypeLibraryResource = IDR_TYPELIB;
inline constexpr int kRegistryScriptResource = IDR_REGISTRY;
}  // namespace tagwright::com
#endif
