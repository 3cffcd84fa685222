#include "shell/association.h"

std::array<RegistryValue, 4> AssociationValues(const std::string& exePath) {
  const std::string progId = AssociationProgId;
  return {{
      {AssociatedExtension, progId},
      {progId, "Wolfenstein3D Resource File"},
      {progId + "\\Shell\\Open\\Command", "\"" + exePath + "\" \"%1\""},
      {progId + "\\DefaultIcon", exePath + ",1"},
  }};
}
