#include "shell/association.h"

#include <gtest/gtest.h>

namespace {

TEST(AssociationValues, NameTheExecutableForOpeningAndForTheIcon) {
  const auto v = AssociationValues("C:\\Tools\\view.exe");
  EXPECT_EQ(v[0].Key, ".wl6");
  EXPECT_EQ(v[0].Value, "Brightoak.Wolfenstein3D.WL6");
  EXPECT_EQ(v[1].Key, "Brightoak.Wolfenstein3D.WL6");
  EXPECT_EQ(v[1].Value, "Wolfenstein3D Resource File");
  EXPECT_EQ(v[2].Key, "Brightoak.Wolfenstein3D.WL6\\Shell\\Open\\Command");
  EXPECT_EQ(v[2].Value, "\"C:\\Tools\\view.exe\" \"%1\"");
  EXPECT_EQ(v[3].Key, "Brightoak.Wolfenstein3D.WL6\\DefaultIcon");
  EXPECT_EQ(v[3].Value, "C:\\Tools\\view.exe,1");
}

}  // namespace
