// The resources folder found relative to the program: build tree first, then an installed package.
#include "app/resources_folder.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>

namespace fs = std::filesystem;
using zelFramework::findResourcesFolder;
using zelFramework::resourcesFolderCandidates;

namespace {

struct ScratchRoot {
    fs::path path = fs::temp_directory_path() / ("orvo-resources-test-" + std::to_string(getpid()));
    ScratchRoot() { fs::create_directories(path); }
    ~ScratchRoot() { fs::remove_all(path); }
};

TEST(ResourcesFolder, BuildTreeAndPackageLayoutsAreFoundInThatOrder) {
    ScratchRoot root;
    const fs::path bin = root.path / "usr" / "bin";
    const fs::path packaged = root.path / "usr" / "share" / "orvo" / "resources";
    fs::create_directories(bin);
    EXPECT_TRUE(findResourcesFolder(bin).empty()) << "nothing laid out yet";

    fs::create_directories(packaged);
    EXPECT_EQ(findResourcesFolder(bin), packaged) << "an unpacked package under any root finds its own data";

    fs::create_directories(bin / "resources");
    EXPECT_EQ(findResourcesFolder(bin), bin / "resources") << "the folder beside the program wins";
}

TEST(ResourcesFolder, AFileNamedLikeTheFolderIsNotTaken) {
    ScratchRoot root;
    const fs::path bin = root.path / "bin";
    fs::create_directories(bin);
    { std::FILE* f = std::fopen((bin / "resources").c_str(), "w"); std::fclose(f); }
    EXPECT_TRUE(findResourcesFolder(bin).empty());
}

TEST(ResourcesFolder, CandidatesAreNormalisedForMessages) {
    const auto places = resourcesFolderCandidates("/opt/orvo/bin");
    ASSERT_EQ(places.size(), 2u);
    EXPECT_EQ(places[0], fs::path("/opt/orvo/bin/resources"));
    EXPECT_EQ(places[1], fs::path("/opt/orvo/share/orvo/resources"));
}

}  // namespace
