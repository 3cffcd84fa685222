// The .wl6 file association: which keys under HKEY_CLASSES_ROOT carry it.
#pragma once

#include <array>
#include <string>

struct RegistryValue {
  std::string Key;    // under HKEY_CLASSES_ROOT
  std::string Value;  // the key's default value
};

constexpr char AssociatedExtension[] = ".wl6";
constexpr char AssociationProgId[] = "Brightoak.Wolfenstein3D.WL6";

// The four default values, in the order they are written, for the
// executable at `exePath`.
std::array<RegistryValue, 4> AssociationValues(const std::string& exePath);

// Writes the association unless ".wl6" is registered already, whatever it
// names. Failures pass silently.
void RegisterFileType();
