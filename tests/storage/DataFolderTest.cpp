// The user's data folder, from the environment's bytes.
#include "storage/DataFolder.h"

#include <gtest/gtest.h>

namespace {

TEST(DataFolderTest, FromTheEnvironmentsBytes) {
    EXPECT_EQ(DataFolderFor("/x/data", "/home/u"), "/x/data/Formulon");
    EXPECT_EQ(DataFolderFor("", "/home/u"), "/home/u/.local/share/Formulon");
    EXPECT_EQ(DataFolderFor("rel/data", "/home/u"), "/home/u/.local/share/Formulon");
    EXPECT_EQ(DataFolderFor("/x/d\xff\xfe", "/home/u"), "/x/d\xff\xfe/Formulon");
}

} // namespace
