#pragma once

#include <memory>

#include "FakeI2c.h"
#include "FakeSysfs.h"

namespace corvane::linux_desktop::testing {

// The sysfs and i2c-dev layouts of the desks people have, as the kernel drivers lay them out.
// Every desk also has the buses a display utility must never touch: the chipset's SMBus
// (whose SPD EEPROMs answer at 0x50) and a touchpad's DesignWare controller.
struct FakeDesk {
    FakeDesk() {
        const fs::path smbus = sysfs.pciDevice("0000:00:1f.4", "0x0c0500");
        sysfs.adapter(smbus, 0, "SMBus I801 adapter at efa0");
        i2c->buses["i2c-0"].edid = Bytes(256, 0x5A);
        sysfs.adapter("sys/devices/platform/AMDI0010:00", 1, "Synopsys DesignWare I2C adapter");
    }

    FakeSysfs sysfs;
    std::shared_ptr<FakeI2c> i2c = std::make_shared<FakeI2c>();
};

// Bytes an EEPROM answers from wherever its pointer stands.
inline void holdEdid(FakeI2c& i2c, unsigned bus, const Bytes& edid, std::size_t pointer) {
    FakeI2c::Bus& answer = i2c.buses["i2c-" + std::to_string(bus)];
    answer.edid = edid;
    answer.edid.resize(256, 0xFF);  // an EEPROM of 256 bytes
    answer.edidPointer = pointer;
}

// NVIDIA's driver: connected outputs read "disabled", no connector names its bus, and the GPU
// has one "NVIDIA i2c adapter" per port; the monitors sit on buses 4 and 6.
inline void layOutNvidia(FakeDesk& desk, const Bytes& dp, const Bytes& hdmi) {
    const fs::path gpu = desk.sysfs.pciDevice("0000:01:00.0", "0x030000");
    for (unsigned bus : {3u, 4u, 5u, 6u})
        desk.sysfs.adapter(gpu, bus, "NVIDIA i2c adapter " + std::to_string(bus) + " at 1:00.0");
    desk.sysfs.connector("card1-DP-1", dp, std::nullopt, "connected", "disabled");
    desk.sysfs.connector("card1-HDMI-A-1", hdmi, std::nullopt, "connected", "disabled");
    holdEdid(*desk.i2c, 4, dp, 37);
    holdEdid(*desk.i2c, 6, hdmi, 0);
}

// Intel's driver before late 2023: a DisplayPort connector has no "ddc" link; its AUX
// channel's i2c adapter sits inside the connector folder (DP-1) or inside its drm_dp_aux
// device (DP-2).
inline void layOutIntelAux(FakeDesk& desk, const Bytes& first, const Bytes& second) {
    const fs::path dp1 = FakeSysfs::connectorFolder("card0-DP-1");
    const fs::path dp2 = FakeSysfs::connectorFolder("card0-DP-2");
    desk.sysfs.connector("card0-DP-1", first);
    desk.sysfs.adapter(dp1, 7, "DPDDC-B");
    desk.sysfs.connector("card0-DP-2", second);
    desk.sysfs.adapter(dp2 / "drm_dp_aux1", 8, "AUX C/DDI C/PHY C");
}

// A dock behind DisplayPort MST on amdgpu: the branch connectors have no bus of their own; the
// monitors answer on the GPU's DisplayPort adapters, one of them registered on the GPU, the
// other on a device that is known by its name alone.
inline void layOutMstDock(FakeDesk& desk, const Bytes& left, const Bytes& right) {
    const fs::path gpu = desk.sysfs.pciDevice("0000:03:00.0", "0x030000");
    desk.sysfs.adapter(gpu, 9, "AMDGPU DM aux hw bus 1");
    desk.sysfs.adapter("sys/devices/virtual/dp-branch", 10, "AMDGPU DM aux hw bus 2");
    desk.sysfs.connector("card0-DP-4", left);
    desk.sysfs.connector("card0-DP-5", right);
    holdEdid(*desk.i2c, 9, left, 128);
    holdEdid(*desk.i2c, 10, right, 200);
}

}  // namespace corvane::linux_desktop::testing
