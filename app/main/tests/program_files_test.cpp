// Where the program finds the engine library, and the options it answers
// before opening a window.
#include "main/program_files.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <vector>

#include "main/command_line.h"

using namespace korvel;

namespace {

struct Layout {
    bool beside;
    bool installed;
    const char* expected;  // relative to the prefix
};

class EngineLibraryLayout : public ::testing::TestWithParam<Layout> {};

TEST_P(EngineLibraryLayout, BesideTheProgramFirstThenLibKorvel) {
    const Layout& layout = GetParam();
    QTemporaryDir prefix;
    ASSERT_TRUE(prefix.isValid());
    QDir root(prefix.path());
    ASSERT_TRUE(root.mkpath(QStringLiteral("bin")) && root.mkpath(QStringLiteral("lib/korvel")));
    const auto touch = [&](const QString& path) {
        QFile file(root.filePath(path));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    };
    if (layout.beside) touch(QStringLiteral("bin/libKorvel2015_DLL.so"));
    if (layout.installed) touch(QStringLiteral("lib/korvel/libKorvel2015_DLL.so"));
    EXPECT_EQ(EngineLibraryFor(root.filePath(QStringLiteral("bin"))),
              root.filePath(QLatin1String(layout.expected)));
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, EngineLibraryLayout,
    ::testing::Values(Layout{true, false, "bin/libKorvel2015_DLL.so"},
                      Layout{false, true, "lib/korvel/libKorvel2015_DLL.so"},
                      Layout{true, true, "bin/libKorvel2015_DLL.so"},
                      // Nowhere: a failing run then concerns the place beside the program.
                      Layout{false, false, "bin/libKorvel2015_DLL.so"}));

TEST(InstalledIcon, FoundFromBinOnlyInTheInstalledLayout) {
    QTemporaryDir prefix;
    QDir root(prefix.path());
    ASSERT_TRUE(root.mkpath(QStringLiteral("bin")));
    EXPECT_EQ(InstalledIconFor(root.filePath(QStringLiteral("bin"))), QString());
    ASSERT_TRUE(root.mkpath(QStringLiteral("share/icons/hicolor/256x256/apps")));
    const QString icon =
        root.filePath(QStringLiteral("share/icons/hicolor/256x256/apps/korvel.png"));
    QFile file(icon);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    EXPECT_EQ(InstalledIconFor(root.filePath(QStringLiteral("bin"))), icon);
}

std::optional<std::string> Ask(std::vector<const char*> args) {
    args.insert(args.begin(), "Korvel2015");
    return InformationRequested(static_cast<int>(args.size()), args.data());
}

TEST(CommandLine, VersionNamesTheProjectVersion) {
    const auto text = Ask({"--version"});
    ASSERT_TRUE(text);
    EXPECT_EQ(text->substr(0, text->find('\n')),
              std::string("Korvel2015 (KORVEL) ") + KORVEL_PROJECT_VERSION);
    // Qt's options may come first; the answer is the same.
    EXPECT_EQ(Ask({"-platform", "xcb", "--version"}), text);
}

TEST(CommandLine, HelpBeginsWithTheUsageLine) {
    for (const char* option : {"-h", "--help"}) {
        const auto text = Ask({"wall.kv5d", option});
        ASSERT_TRUE(text) << option;
        EXPECT_EQ(text->rfind("Usage: Korvel2015 [OPTION]... [FILE]\n", 0), 0u) << option;
        EXPECT_NE(text->find("--version"), std::string::npos);
    }
}

TEST(CommandLine, AFileOrNothingStartsTheProgram) {
    EXPECT_FALSE(Ask({}));
    EXPECT_FALSE(Ask({"wall.kv5d"}));
    EXPECT_FALSE(Ask({"-style", "fusion", "wall.kv5d"}));
    EXPECT_FALSE(Ask({"--helper.kv5d"}));
}

}  // namespace
