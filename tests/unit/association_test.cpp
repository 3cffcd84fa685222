#include "shell/association.h"

#include <gtest/gtest.h>

namespace {

TEST(AssociationValues, NameTheExecutableQuotedForOpeningAndWithItsIconIndex) {
  // Blanks in the program's path or in the file's must not split either.
  const std::string exe = "C:\\Program Files\\Tools\\view.exe";
  const auto v = AssociationValues(exe);
  EXPECT_EQ(v[0].Key, AssociatedExtension);
  EXPECT_EQ(v[0].Value, AssociationProgId);
  EXPECT_EQ(v[1].Key, AssociationProgId);
  const std::string under = std::string(AssociationProgId) + "\\";
  EXPECT_EQ(v[2].Key, under + "Shell\\Open\\Command");
  EXPECT_EQ(v[2].Value, "\"" + exe + "\" \"%1\"");
  EXPECT_EQ(v[3].Key, under + "DefaultIcon");
  EXPECT_EQ(v[3].Value, exe + ",1") << "the second icon of the program, the one for its files";
}

}  // namespace
