#pragma once

#include <unknwn.h>

namespace tagwright::com {

// The class factory of CAddIn. One factory is made on the first request and
// kept for the life of the module; every reference to it held outside the
// module counts as a module lock, so the module cannot be unloaded under a
// host that still holds the factory.
IClassFactory& addInClassFactory();

}  // namespace tagwright::com
