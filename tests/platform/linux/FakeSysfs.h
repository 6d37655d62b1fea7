#pragma once

#include <optional>

#include "FakeTree.h"

namespace corvane::linux_desktop::testing {

// A sysfs tree laid out as the kernel lays it out: devices under sys/devices, and
// sys/class/<class>/<name> links to them.
class FakeSysfs {
  public:
    fs::path sysfs() const { return tree.path("sys"); }

    // A DRM connector device, e.g. "card0-eDP-1", with its class link.
    fs::path connector(const std::string& name, const std::vector<std::uint8_t>& edid = {},
                       std::optional<unsigned> ddcBus = std::nullopt,
                       const std::string& status = "connected",
                       const std::string& enabled = "enabled") const {
        const fs::path device = "sys/devices/pci0000:00/drm/card0/" + name;
        tree.write(device / "status", status + "\n");
        tree.write(device / "enabled", enabled + "\n");
        tree.writeBytes(device / "edid", edid);
        if (ddcBus) tree.link(device / "ddc", tree.folder(i2cAdapter(*ddcBus)));
        tree.link("sys/class/drm/" + name, tree.path(device));
        return tree.path(device);
    }

    // A backlight device under `parent` (a device folder), with its class link.
    fs::path backlight(const fs::path& parent, const std::string& name, const std::string& type,
                       const std::string& brightness, const std::string& max) const {
        const fs::path device = parent / name;
        tree.write(device / "type", type + "\n");
        tree.write(device / "brightness", brightness + "\n");
        tree.write(device / "max_brightness", max + "\n");
        tree.link("sys/class/backlight/" + name, device);
        return device;
    }

    fs::path i2cAdapter(unsigned bus) const {
        return "sys/devices/pci0000:00/i2c-" + std::to_string(bus);
    }

    // A PCI device of the given class ("0x030000" for a GPU), relative to the tree.
    fs::path pciDevice(const std::string& address, const std::string& pciClass) const {
        const fs::path device = "sys/devices/pci0000:00/" + address;
        tree.write(device / "class", pciClass + "\n");
        return device;
    }

    // An i2c adapter device under `parent` (a device folder), listed in sys/bus/i2c.
    fs::path adapter(const fs::path& parent, unsigned bus, const std::string& name) const {
        const fs::path device = parent / ("i2c-" + std::to_string(bus));
        tree.write(device / "name", name + "\n");
        tree.link("sys/bus/i2c/devices/i2c-" + std::to_string(bus), tree.path(device));
        return device;
    }

    FakeTree tree;
};

}  // namespace corvane::linux_desktop::testing
