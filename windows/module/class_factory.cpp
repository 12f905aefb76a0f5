#include "windows/module/class_factory.h"

#include <atomic>

#include "windows/addin/caddin.h"
#include "windows/module/add_in_module.h"

namespace tagwright::com {
namespace {

class AddInClassFactory final : public IClassFactory {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (object == nullptr) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
      *object = static_cast<IClassFactory*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override {
    addInModule().lock();
    return ++references_;
  }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    addInModule().unlock();
    return left;
  }

  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
    return CAddIn::create(outer, iid, object);
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    if (lock) {
      addInModule().lock();
    } else {
      addInModule().unlock();
    }
    return S_OK;  // nothing here can fail or throw
  }

 private:
  // References held outside the module; the module's own is not counted.
  std::atomic<ULONG> references_{0};
};

}  // namespace

IClassFactory& addInClassFactory() {
  static AddInClassFactory factory;
  return factory;
}

}  // namespace tagwright::com
