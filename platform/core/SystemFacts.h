#pragma once

#include <filesystem>
#include <string>

namespace core {

// The machine and the system the program runs on, in the words the components ask for them: the
// hardware name ("hw.machine"), the product name ("hw.model"), the system version and the system's
// build ("kern.osversion"). Crash reports and analytics describe the device with these same facts.
struct SystemFacts {
    // The hardware name, as uname gives it ("x86_64", "aarch64").
    std::string machine;
    // The product name the firmware reports (DMI), or "unknown" when it says none.
    std::string model;
    // The kernel's release ("6.1.0-18-amd64").
    std::string systemVersion;
    // The kernel's build ("#1 SMP PREEMPT_DYNAMIC Debian 6.1.76-1 (2024-02-01)").
    std::string osVersion;

    // Reads the facts now; `productName` is the file that names the product.
    static SystemFacts read(const std::filesystem::path& productName = "/sys/class/dmi/id/product_name");
};

// This machine's facts, read once. Any thread.
const SystemFacts& systemFacts();

} // namespace core
