// Scripts written where the disk refuses them: a folder that does not exist,
// a path that is a folder, a full file system. The user is told why, the
// file that was there before is left as it was, nothing is called saved and
// no temporary file is left behind.
#include "model/ModelFakes.h"
#include "model/ScriptOperations.h"
#include "model/Scripts.h"
#include "model/SmallFileSystem.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace vistrel::model;
using namespace vistrel::model::testing;
namespace fs = std::filesystem;
using Texts = std::vector<std::string>;

namespace {

const std::string earlierScript = "# the script saved before\r\n";

std::vector<std::string> namesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class FailingDiskTest : public ::testing::Test {
protected:
    void SetUp() override {
        edit.initialise();
        for (const char* clip : {"/clips/cam1.avi", "/clips/cam2.avi"}) {
            openDialog.answers.push_back(clip);
            edit.addClip(openDialog, messages);
        }
        player.positionReplies.push_back("300");
        edit.addSwitchPoint('B', player);
        player.calls.clear();
    }

    void saveEditScriptTo(const fs::path& path) {
        saveDialog.answers.push_back(path.string());
        buildEditScript(edit, saveDialog, messages);
    }

    Edit edit;
    RecordingPlayer player;
    QueuedFileDialog openDialog;
    QueuedFileDialog saveDialog;
    RecordingMessages messages;
    QTemporaryDir tempDir;
    fs::path temp{tempDir.path().toStdString()};
};

TEST_F(FailingDiskTest, EditScriptOntoAFullDiskKeepsTheEarlierScript) {
    VISTREL_SMALL_FILE_SYSTEM_OR_SKIP(disk);
    const fs::path path = disk.root() / "edit.avs";
    writeBytes(path, earlierScript);
    disk.fill();

    saveEditScriptTo(path);

    EXPECT_EQ(messages.shown, Texts{"The script could not be saved: " + path.string() + ": No space left on device"});
    EXPECT_EQ(readBytes(path), earlierScript);
    EXPECT_EQ(namesIn(disk.root()), (Texts{"edit.avs", "filler"}));
}

TEST_F(FailingDiskTest, EditScriptSavesAgainOnceTheDiskHasRoom) {
    VISTREL_SMALL_FILE_SYSTEM_OR_SKIP(disk);
    const fs::path path = disk.root() / "edit.avs";
    disk.fill();
    saveEditScriptTo(path);
    fs::remove(disk.root() / "filler");

    saveEditScriptTo(path);

    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[1], "The AviSynth script has been saved.");
    EXPECT_EQ(readBytes(path), editScriptText(edit));
}

TEST_F(FailingDiskTest, EditScriptIntoAMissingFolderCreatesNothing) {
    const fs::path path = temp / "gone" / "edit.avs";
    saveEditScriptTo(path);
    EXPECT_EQ(messages.shown, Texts{"The script could not be saved: " + path.string() + ": No such file or directory"});
    EXPECT_TRUE(namesIn(temp).empty());
}

// Root may create files anywhere, so there the save runs in a child process
// as an unprivileged user; elsewhere the folder is made read-only.
TEST_F(FailingDiskTest, EditScriptReplacesAWritableFileInAFolderClosedToNewFiles) {
    const fs::path path = temp / "edit.avs";
    writeBytes(path, earlierScript);
    fs::permissions(path, fs::perms::all);
    const auto saveClosedToNewFiles = [&] {
        saveEditScriptTo(path);
        return messages.shown == Texts{"The AviSynth script has been saved."};
    };
    if (geteuid() == 0) {
        fs::permissions(temp, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                  fs::perms::others_read | fs::perms::others_exec);
        const pid_t child = fork();
        ASSERT_NE(child, -1);
        if (child == 0) {
            const bool dropped = setgid(65534) == 0 && setuid(65534) == 0;
            _exit(dropped && saveClosedToNewFiles() ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    } else {
        fs::permissions(temp, fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_TRUE(saveClosedToNewFiles()) << (messages.shown.empty() ? "" : messages.shown[0]);
        fs::permissions(temp, fs::perms::owner_all);
    }
    EXPECT_EQ(readBytes(path), editScriptText(edit));
    EXPECT_EQ(namesIn(temp), Texts{"edit.avs"});
}

TEST_F(FailingDiskTest, PreviewOntoAFullDiskKeepsTheEarlierPreviewAndTheIntro) {
    VISTREL_SMALL_FILE_SYSTEM_OR_SKIP(disk);
    const ScriptLocations locations = ScriptLocations::inFolder(disk.root().string());
    writeBytes(locations.previewPath, earlierScript);
    disk.fill();

    ShowPreview(edit, player, messages, locations);

    EXPECT_EQ(messages.shown,
              Texts{"The preview script could not be written: " + locations.previewPath + ": No space left on device"});
    EXPECT_EQ(readBytes(locations.previewPath), earlierScript);
    EXPECT_EQ(player.calls, (Texts{"stop", "filename " + locations.introPlayerPath}));
    EXPECT_EQ(namesIn(disk.root()), (Texts{"filler", "preview.avs"}));
}

TEST_F(FailingDiskTest, PreviewOntoAFolderLeavesTheFolderAndNeverPlays) {
    const ScriptLocations locations = ScriptLocations::inFolder(temp.string());
    fs::create_directories(fs::path(locations.previewPath) / "inside");

    ShowPreview(edit, player, messages, locations);

    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(
        messages.shown[0].starts_with("The preview script could not be written: " + locations.previewPath + ": "))
        << messages.shown[0];
    EXPECT_TRUE(fs::is_directory(fs::path(locations.previewPath) / "inside"));
    EXPECT_EQ(player.calls, (Texts{"stop", "filename " + locations.introPlayerPath}));
}

TEST_F(FailingDiskTest, PreviewWhoseFolderCannotBeMadeSaysWhy) {
    writeBytes(temp / "cache", "a file where a folder belongs");
    const ScriptLocations locations = ScriptLocations::inFolder((temp / "cache" / "vistrel").string());

    ShowPreview(edit, player, messages, locations);

    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(
        messages.shown[0].starts_with("The preview script could not be written: " + locations.previewPath + ": "))
        << messages.shown[0];
    EXPECT_EQ(readBytes(temp / "cache"), "a file where a folder belongs");
    EXPECT_EQ(player.calls, (Texts{"stop", "filename " + locations.introPlayerPath}));
}

TEST_F(FailingDiskTest, IntroOntoAFullDiskReturnsTheReasonAndKeepsTheEarlierIntro) {
    VISTREL_SMALL_FILE_SYSTEM_OR_SKIP(disk);
    const ScriptLocations locations = ScriptLocations::inFolder(disk.root().string());
    writeBytes(locations.introPath, earlierScript);
    disk.fill();

    EXPECT_EQ(ShowIntro(player, locations), locations.introPath + ": No space left on device");
    EXPECT_EQ(readBytes(locations.introPath), earlierScript);
    EXPECT_EQ(player.calls, Texts{"filename " + locations.introPlayerPath});
    EXPECT_EQ(namesIn(disk.root()), (Texts{"filler", "intro.avs"}));
}

TEST_F(FailingDiskTest, IntroWhoseFolderCannotBeMadeReturnsTheReason) {
    writeBytes(temp / "cache", "a file where a folder belongs");
    const ScriptLocations locations = ScriptLocations::inFolder((temp / "cache" / "vistrel").string());

    const auto failure = ShowIntro(player, locations);

    ASSERT_TRUE(failure.has_value());
    EXPECT_TRUE(failure->starts_with(locations.introPath + ": ")) << *failure;
    EXPECT_EQ(player.calls, Texts{"filename " + locations.introPlayerPath});
}

}  // namespace
