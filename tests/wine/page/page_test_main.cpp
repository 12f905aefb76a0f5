// The settings page test host. Without arguments it runs the tests; with
// "--show SECONDS" it shows the page, filled with a sample of settings, for
// that long, so that a picture of it can be taken.
#include <windows.h>
#include <objbase.h>
#include <ocidl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "tests/wine/page/page_host.h"

namespace {

int showPage(int seconds) {
  page_tests::Component component;
  if (!component.created()) {
    std::fprintf(stderr, "no component by ProgID\n");
    return 2;
  }
  const struct {
    const wchar_t* name;
    long value;
  } sample[] = {{L"NumberPort", 3},      {L"Speed", 4},
                {L"Darkness", 10},       {L"Cutter", 1},
                {L"LabelHeight", 40},    {L"LabelWidth", 58},
                {L"LabelLeftMargin", 8}, {L"LabelType", 2},
                {L"BlackMarkLenght", 3}, {L"BlackMarkPosition", 2},
                {L"BarcodeWidth", 3}};
  for (const auto& s : sample) component.setProperty(s.name, s.value);

  PROPPAGEINFO info{};
  info.cb = sizeof(info);
  if (component.page().GetPageInfo(&info) != S_OK) return 2;
  CoTaskMemFree(info.pszTitle);
  page_tests::HostWindow host(info.size.cx, info.size.cy);
  page_tests::RecordingSite site;
  component.page().SetPageSite(&site);
  IUnknown* objects[] = {component.object()};
  component.page().SetObjects(1, objects);
  RECT place{0, 0, info.size.cx, info.size.cy};
  if (component.page().Activate(host.get(), &place, TRUE) != S_OK) return 2;
  component.page().Show(SW_SHOW);
  page_tests::pumpMessages();

  RECT frame{};
  GetWindowRect(host.get(), &frame);
  std::printf("ready %ld %ld %ld %ld\n", frame.left, frame.top, frame.right - frame.left,
              frame.bottom - frame.top);
  std::fflush(stdout);
  const DWORD end = GetTickCount() + static_cast<DWORD>(seconds) * 1000u;
  while (GetTickCount() < end) {
    page_tests::pumpMessages();
    Sleep(50);
  }
  component.page().Deactivate();
  component.page().SetObjects(0, nullptr);
  component.page().SetPageSite(nullptr);
  component.release();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // The host runs its pages in one single-threaded apartment.
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 2;
  int result = 0;
  if (argc == 3 && std::strcmp(argv[1], "--show") == 0) {
    result = showPage(std::atoi(argv[2]));
  } else {
    result = RUN_ALL_TESTS();
  }
  CoUninitialize();
  return result;
}
