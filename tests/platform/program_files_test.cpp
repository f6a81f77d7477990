// Where the programs find their templates, default settings and Documentation: beside them in a build tree,
// in ../share/stockavelle once installed under any prefix.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "platform/program_files.h"

using stk::platform::program_files_folder;

TEST(ProgramFiles, BesideTheProgramUnlessInstalledUnderAPrefix) {
    QTemporaryDir prefix;
    const std::string root = prefix.path().toStdString();
    ASSERT_TRUE(QDir(prefix.path()).mkpath(QStringLiteral("bin")));

    // A build tree: nothing in ../share, so the program's own folder.
    EXPECT_EQ(program_files_folder(root + "/bin"), root + "/bin");
    EXPECT_EQ(program_files_folder(root + "/bin/"), root + "/bin/");

    ASSERT_TRUE(QDir(prefix.path()).mkpath(QStringLiteral("share/stockavelle")));
    EXPECT_EQ(program_files_folder(root + "/bin"), root + "/share/stockavelle");
    EXPECT_EQ(program_files_folder(root + "/bin/"), root + "/share/stockavelle");
}

TEST(ProgramFiles, ProgramAtTheTopOfTheFileSystem) {
    // "/" has no parent: the installed folder would be /share/stockavelle, which is not there.
    EXPECT_EQ(program_files_folder("/"), "/");
}
