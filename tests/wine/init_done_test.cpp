// IInitDone through the real interfaces: the host services taken at Init
// and dropped at Done, loading and saving the settings through the host's
// profile, and GetInfo.
#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/wine/host_connection.h"
#include "tests/wine/wine_env.h"

namespace wine_tests {
namespace {

const wchar_t* const kKeys[] = {
    L"PrinterPort",  L"PrinterSpeed",    L"PrinterDarkness",   L"PrinterStriper", L"PrinterCutter",
    L"LabelSize",    L"LabelWidth",      L"LeftMargin",        L"TopMargin",      L"StopPosition",
    L"BarcodeWidth", L"BarcodeNarrow",   L"BarcodeReadable",   L"LabelType",      L"LabelGap",
    L"FeedLenght",   L"BlackMarkLenght", L"BlackMarkPosition", L"LabelRotate",    L"MetodTransfer",
};
const long kDefaults[] = {0, 0, 5, 0, 0, 25, 43, 0, 0, 0, 1, 0, 1, 0, 3, 10, 0, 0, 0, 0};

TEST(InitDone, HoldsTheOfferedServicesFromInitToDone) {
  HostConnection connection;
  AddInSession session;
  ASSERT_EQ(session.initDone().Init(&connection), S_OK);
  EXPECT_EQ(connection.asked, (std::vector<std::wstring>{L"IErrorLog", L"IAsyncEvent",
                                                         L"IStatusLine", L"IPropertyProfile"}));
  EXPECT_EQ(connection.errorLog.references(), 1);
  EXPECT_EQ(connection.asyncEvent.references(), 1);
  EXPECT_EQ(connection.statusLine.references(), 1);
  EXPECT_EQ(connection.profile.references(), 1);
  EXPECT_EQ(connection.references(), 0) << "the connection itself is not kept";

  EXPECT_EQ(session.initDone().Done(), S_OK);
  EXPECT_EQ(connection.errorLog.references(), 0);
  EXPECT_EQ(connection.asyncEvent.references(), 0);
  EXPECT_EQ(connection.statusLine.references(), 0);
  EXPECT_EQ(connection.profile.references(), 0);
  // Held, never called.
  EXPECT_EQ(connection.errorLog.calls + connection.asyncEvent.calls + connection.statusLine.calls,
            0);
}

TEST(InitDone, WorksWithoutAnyService) {
  HostConnection connection(Offer{false, false, false, false});
  AddInSession session;
  EXPECT_EQ(session.initDone().Init(&connection), S_OK);
  EXPECT_EQ(session.property(L"LabelHeight"), 25) << "defaults without a profile";
  EXPECT_EQ(session.initDone().Done(), S_OK);
  EXPECT_TRUE(connection.profile.calls.empty());

  AddInSession withoutConnection;
  EXPECT_EQ(withoutConnection.initDone().Init(nullptr), S_OK);
  EXPECT_EQ(withoutConnection.initDone().Done(), S_OK);
}

TEST(InitDone, LoadsAndSavesTheTwentyKeysInOrder) {
  HostConnection connection;
  connection.profile.store(L"LabelSize", 60);
  AddInSession session;
  ASSERT_EQ(session.initDone().Init(&connection), S_OK);

  std::vector<std::wstring> expectedReads{L"register:Printer Tagwright"};
  for (int i = 0; i < 20; ++i) {
    expectedReads.push_back(L"read:" + std::wstring(kKeys[i]) + L":" +
                            std::to_wstring(kDefaults[i]));
  }
  EXPECT_EQ(connection.profile.calls, expectedReads);
  EXPECT_EQ(session.property(L"LabelHeight"), 60);

  ASSERT_EQ(session.setProperty(L"BlackMarkLenght", 7), S_OK);
  connection.profile.calls.clear();
  ASSERT_EQ(session.initDone().Done(), S_OK);

  std::vector<std::wstring> expectedWrites;
  for (int i = 0; i < 20; ++i) {
    long value = kDefaults[i];
    if (std::wstring(kKeys[i]) == L"LabelSize") value = 60;
    if (std::wstring(kKeys[i]) == L"BlackMarkLenght") value = 7;
    expectedWrites.push_back(L"write:" + std::wstring(kKeys[i]) + L"=" + std::to_wstring(value));
  }
  EXPECT_EQ(connection.profile.calls, expectedWrites);
}

TEST(InitDone, SettingsSurviveARestartOfTheHost) {
  HostConnection connection;
  {
    AddInSession first;
    ASSERT_EQ(first.initDone().Init(&connection), S_OK);
    ASSERT_EQ(first.setProperty(L"BlackMarkLenght", 12), S_OK);
    ASSERT_EQ(first.setProperty(L"Speed", 6), S_OK);
    ASSERT_EQ(first.initDone().Done(), S_OK);
  }
  EXPECT_EQ(connection.profile.storedInt(L"BlackMarkLenght"), 12);
  EXPECT_EQ(connection.profile.storedInt(L"PrinterSpeed"), 4) << "stored as the list index";
  AddInSession second;
  ASSERT_EQ(second.initDone().Init(&connection), S_OK);
  EXPECT_EQ(second.property(L"BlackMarkLenght"), 12);
  EXPECT_EQ(second.property(L"Speed"), 6);
  second.initDone().Done();
}

TEST(InitDone, FailsWhenTheFifthReadFails) {
  HostConnection connection;
  connection.profile.failReadAt = 4;
  connection.profile.store(L"PrinterPort", 3);
  connection.profile.store(L"PrinterDarkness", 9);
  connection.profile.store(L"PrinterCutter", 8);
  connection.profile.store(L"LabelSize", 77);
  AddInSession session;
  EXPECT_EQ(session.initDone().Init(&connection), E_FAIL);
  EXPECT_EQ(connection.profile.callsStartingWith(L"read:").size(), 5u) << "the load stops there";
  EXPECT_EQ(session.property(L"NumberPort"), 3) << "rows before the failure are loaded";
  EXPECT_EQ(session.property(L"Darkness"), 9);
  EXPECT_EQ(session.property(L"Cutter"), 0) << "the failed row keeps its value";
  EXPECT_EQ(session.property(L"LabelHeight"), 25) << "rows after the failure are not read";
}

// An object that the profile hands out inside a VARIANT; the component must
// let go of it once the value has been read.
class ProfileValueObject final : public IUnknown {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (!IsEqualIID(iid, IID_IUnknown)) return *object = nullptr, E_NOINTERFACE;
    *object = this;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++references); }
  ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--references); }
  long references = 1;
};

TEST(InitDone, ClearsEveryValueTheProfileReturns) {
  HostConnection connection;
  ProfileValueObject held;
  VARIANT object;
  VariantInit(&object);
  object.vt = VT_UNKNOWN;
  object.punkVal = &held;  // the copy in the store takes its own reference
  connection.profile.storeVariant(L"LabelGap", object);
  VARIANT text;
  VariantInit(&text);
  text.vt = VT_BSTR;
  text.bstrVal = SysAllocString(L"44");
  connection.profile.storeVariant(L"LabelWidth", text);
  VariantClear(&text);
  const long storedOnly = held.references;

  AddInSession session;
  ASSERT_EQ(session.initDone().Init(&connection), S_OK);
  EXPECT_EQ(held.references, storedOnly) << "the object in the VARIANT was not released";
  EXPECT_EQ(session.property(L"LabelWidth"), 44) << "a decimal text is taken as a number";
  EXPECT_EQ(session.property(L"GapLenght"), 3) << "an unreadable value keeps the field";
  session.initDone().Done();
  connection.profile.stored.clear();
  EXPECT_EQ(held.references, 1);
}

TEST(InitDone, GetInfoStoresTheVersionInElementZero) {
  AddInSession session;
  unique_safearray info(SafeArrayCreateVector(VT_VARIANT, 0, 1));
  SAFEARRAY* raw = info.get();
  ASSERT_EQ(session.initDone().GetInfo(&raw), S_OK);
  unique_variant element;
  LONG index = 0;
  ASSERT_EQ(SafeArrayGetElement(info.get(), &index, element.get()), S_OK);
  EXPECT_EQ(element.type(), VT_I4);
  EXPECT_EQ(element.get()->lVal, 1000);

  // An array the version cannot go into is left alone; the call still succeeds.
  unique_safearray numbers(SafeArrayCreateVector(VT_I4, 0, 1));
  LONG zero = 0;
  LONG marker = 55;
  SafeArrayPutElement(numbers.get(), &index, &marker);
  raw = numbers.get();
  EXPECT_EQ(session.initDone().GetInfo(&raw), S_OK);
  SafeArrayGetElement(numbers.get(), &index, &zero);
  EXPECT_EQ(zero, 55);
  raw = nullptr;
  EXPECT_EQ(session.initDone().GetInfo(&raw), S_OK);
  EXPECT_EQ(session.initDone().GetInfo(nullptr), E_POINTER);
}

}  // namespace
}  // namespace wine_tests
