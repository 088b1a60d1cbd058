// The whole program with --edit: the editor comes up over the show, takes the mouse, and leaves with
// the show, taking its unused snapshots with it.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include "support/file_text.h"

namespace {

using orvotest::fileText;

namespace fs = std::filesystem;

size_t snapshotCount(const fs::path& folder) {
    size_t n = 0;
    if (fs::exists(folder))
        for (const auto& entry : fs::directory_iterator(folder)) n += entry.path().filename().string().rfind("--", 0) == 0;
    return n;
}

TEST(EditorShow, EditAttachesTheEditorAndItLeavesWithTheShow) {
    const fs::path built = ORVO_RESOURCES_DIR;
    ASSERT_TRUE(fs::exists(built / "editor" / "button-play.png")) << "resources not generated";
    // The editor writes into its resources folder, so it gets a copy of its own.
    const fs::path dir = fs::temp_directory_path() / ("orvo_editor_show_" + std::to_string(::getpid()));
    const fs::path resources = dir / "resources";
    fs::create_directories(dir);
    fs::copy(built, resources, fs::copy_options::recursive);
    const std::string synced = fileText(resources / "data" / "demosynch.dat");
    fs::copy_file(resources / "data" / "demosynch.dat", dir / "synced.dat");
    // "save" writes the source text recorded beside the binary too: a copy of the repository's.
    const fs::path text = dir / "demosynch.txt";
    fs::copy_file(fs::path(ORVO_SOURCE_DIR) / "content" / "sync" / "demosynch.txt", text);
    std::ofstream(resources / "data" / "demosynch.source") << text.string() << "\n";
    const std::string original = fileText(text);

    // In a 1280 x 720 window the picture is 1280 x 561, 79 pixels down. A middle click at (640, 522)
    // (x 0.5, y 0.21) keys the first controller and keeps a snapshot; then "WORKSPACE" opens under the
    // mouse and its "save" row is clicked; Escape ends the show. The pointer is moved only once the
    // show plays (the shared blur tools are made just before its first frame), since loading puts the
    // cursor home.
    // On a busy machine the first frame can come late; until the save has changed the file the
    // clicks are tried again (a few times at most).
    const std::string dat = (resources / "data" / "demosynch.dat").string();
    const std::string act =
        "for try in 1 2 3 4 5; do xdotool mousemove --window $w 640 522 click 2 mousemove --window $w 45 104 sleep 0.1 "
        "mousemove --window $w 45 113 sleep 0.1 click 1 sleep 1; cmp -s '" + dat + "' '" + (dir / "synced.dat").string() +
        "' || break; done; xdotool key --window $w Escape";
    const std::string cmd =
        "SDL_AUDIODRIVER=dummy '" ORVO_SHOW "' --resources '" + resources.string() +
        "' --edit --no-dialog --width 1280 --height 720 --from 20 >'" + (dir / "out").string() + "' 2>'" +
        (dir / "err").string() + "' & pid=$!; end=$((SECONDS + 30)); "
        "while kill -0 $pid 2>/dev/null && [ $SECONDS -lt $end ]; do "
        "grep -q 'gltkBokehBlurShader' '" + (dir / "err").string() + "' && break; sleep 0.1; done; sleep 2; "
        "w=$(xdotool search --onlyvisible --name '^orv$' 2>/dev/null | head -1); " +
        act + " 2>/dev/null; (sleep 90; kill -KILL $pid) >/dev/null 2>&1 & dog=$!; wait $pid; rc=$?; kill $dog 2>/dev/null; exit $rc";
    std::ofstream(dir / "run.sh") << cmd << "\n";
    const int status = std::system(("bash '" + (dir / "run.sh").string() + "'").c_str());
    const std::string err = fileText(dir / "err");
    const std::string saved = fileText(resources / "data" / "demosynch.dat");
    const size_t snapshotsLeft = snapshotCount(resources / "editor");
    const std::string savedText = fileText(text);
    fs::remove_all(dir);

    ASSERT_TRUE(WIFEXITED(status)) << err;
    EXPECT_EQ(WEXITSTATUS(status), 0) << err;
    EXPECT_EQ(err.find("ERROR"), std::string::npos) << err;
    EXPECT_EQ(err.find("WARNING (textureManager)"), std::string::npos) << "a picture the editor draws is missing: " << err;
    EXPECT_NE(err.find("INFO (trace): Trace stopped."), std::string::npos) << err;
    // The new key reached the sync file, 8 or 16 bytes of it.
    EXPECT_GE(saved.size(), synced.size() + 8) << err;
    // The snapshot still on the undo list went with the editor.
    EXPECT_EQ(snapshotsLeft, 0u);
    // The source text got the new key, one line more, and kept every other line.
    const auto lines = [](const std::string& t) { return size_t(std::count(t.begin(), t.end(), '\n')); };
    EXPECT_GT(lines(savedText), lines(original)) << err;
    EXPECT_LE(lines(savedText), lines(original) + 5) << err;
    EXPECT_EQ(savedText.substr(0, 400), original.substr(0, 400));
}

}  // namespace
