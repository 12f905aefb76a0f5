#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace tagwright::testing {

namespace fs = std::filesystem;

// A sysfs tree in a temporary directory, laid out as the kernel lays out
// USB devices and the usbmisc class entries of their interfaces.
class FakeSysfs {
 public:
  FakeSysfs() {
    std::string pattern = (fs::temp_directory_path() / "tagwright-sysfs-XXXXXX").string();
    root_ = ::mkdtemp(pattern.data());
    fs::create_directories(root_ / "class" / "usbmisc");
  }
  ~FakeSysfs() {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }
  // A USB device at bus place `place` with one interface of `interfaceClass`
  // served as class entry `entry` (lp0, hiddev0, ...).
  void addDevice(const std::string& place, const std::string& vendor, const std::string& product,
                 const std::string* serial, const std::string& entry,
                 const std::string& interfaceClass = "07") {
    const fs::path device = root_ / "devices" / "pci0000:00" / "usb1" / place;
    const fs::path interface = device / (place + ":1.0");
    fs::create_directories(interface / "usbmisc" / entry);
    write(device / "idVendor", vendor + "\n");
    write(device / "idProduct", product + "\n");
    if (serial != nullptr) write(device / "serial", *serial + "\n");
    write(interface / "bInterfaceClass", interfaceClass + "\n");
    const fs::path classEntry = root_ / "class" / "usbmisc" / entry;
    fs::create_directories(classEntry);
    fs::create_directory_symlink(fs::relative(interface, classEntry), classEntry / "device");
  }
  // A serial port: a tty class entry with hardware behind it. With
  // `usbVendor`, a USB serial adapter's port (ttyUSBn, ttyACMn); without,
  // a built-in UART of the given `type` (0: none answers there).
  void addTty(const std::string& entry, const std::string& usbVendor = "",
              const std::string& usbProduct = "", const std::string& type = "4") {
    const fs::path classEntry = root_ / "class" / "tty" / entry;
    fs::create_directories(classEntry);
    fs::path target;
    if (usbVendor.empty()) {
      target = root_ / "devices" / "platform" / "serial8250" / entry;
      fs::create_directories(target);
      write(classEntry / "type", type + "\n");
    } else {
      const fs::path device = root_ / "devices" / "pci0000:00" / "usb2" / ("2-" + entry);
      target = device / ("2-" + entry + ":1.0") / entry;
      fs::create_directories(target);
      write(device / "idVendor", usbVendor + "\n");
      write(device / "idProduct", usbProduct + "\n");
      write(device / "manufacturer", "Acme\n");
    }
    fs::create_directory_symlink(fs::relative(target, classEntry), classEntry / "device");
  }
  // A tty entry without hardware behind it (a virtual terminal).
  void addVirtualTty(const std::string& entry) {
    fs::create_directories(root_ / "class" / "tty" / entry);
  }
  // A parallel port served by the lp driver.
  void addParallel(const std::string& entry) {
    fs::create_directories(root_ / "class" / "printer" / entry);
  }
  // An attribute file of a class entry's device (ieee1284_id, ...).
  void addDeviceAttribute(const std::string& classFolder, const std::string& entry,
                          const std::string& name, const std::string& value) {
    write(root_ / "class" / classFolder / entry / "device" / name, value + "\n");
  }
  const fs::path& root() const { return root_; }

 private:
  static void write(const fs::path& file, const std::string& text) { std::ofstream(file) << text; }
  fs::path root_;
};

}  // namespace tagwright::testing
