// The product's keys in both registry layouts, below HKEY_CURRENT_USER (and,
// for the machine's defaults, below HKEY_LOCAL_MACHINE).
#pragma once

#include <string_view>

namespace tsen {

// The suite's own key, above both layouts.
inline constexpr std::string_view kSuiteKey = "SOFTWARE\\Quarzel\\Tessaline";
// The product key root of the 18.40 layout, and of the 19.01 layout (in force
// with a QVR connection).
inline constexpr std::string_view kProductRoot1840 = "SOFTWARE\\Quarzel\\Tessaline\\18.40";
inline constexpr std::string_view kProductRoot1901 = "SOFTWARE\\Quarzel\\Tessaline\\19.01\\RA_Zora";
// The settings key below a product key root.
inline constexpr std::string_view kKernelServices = "Kernel Services";

} // namespace tsen
