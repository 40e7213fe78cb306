#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "ExchangeFiles.h"
#include "FolderItem.h"
#include "ScratchFolder.h"
#include "SpecialFolder.h"
#include "TextInputStream.h"
#include "TextOutputStream.h"

namespace {
TEST(SpecialFolderTest, PreferencesFolderIsTheUsersConfigFolderMadeWhenMissing) {
    ScratchFolder scratch;
    ::setenv("XDG_CONFIG_HOME", (scratch / "a/b/config").c_str(), 1);
    const FolderItemPtr made = SpecialFolder::Preferences();
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->ShellPath(), scratch / "a/b/config");
    struct stat info {};
    ASSERT_EQ(::stat(made->ShellPath().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);

    // A relative setting is no setting: ~/.config it is.
    ::setenv("XDG_CONFIG_HOME", "relative/config", 1);
    ::setenv("HOME", scratch.Path().c_str(), 1);
    EXPECT_EQ(SpecialFolder::Preferences()->ShellPath(), scratch / ".config");
    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(SpecialFolder::Preferences()->ShellPath(), scratch / ".config");

    WriteBytes(scratch / "file", "");
    ::setenv("XDG_CONFIG_HOME", (scratch / "file").c_str(), 1);
    EXPECT_EQ(SpecialFolder::Preferences(), nullptr);
    ::setenv("XDG_CONFIG_HOME", (scratch / "file/config").c_str(), 1);
    EXPECT_EQ(SpecialFolder::Preferences(), nullptr);
}

TEST(FolderItemTest, ChildIsAReferenceEvenToAFreeName) {
    ScratchFolder scratch;
    const FolderItem folder(scratch.Path());
    const FolderItemPtr child = folder.Child("Tembroloの設定");
    ASSERT_NE(child, nullptr);
    EXPECT_FALSE(child->Exists());
    EXPECT_EQ(child->Name(), "Tembroloの設定");
    EXPECT_EQ(child->TemporaryFolder()->ShellPath(), scratch.Path());
    for (const std::string& bad :
         std::vector<std::string>{"", ".", "..", "a/b", std::string("a\0b", 3)}) {
        EXPECT_EQ(folder.Child(bad), nullptr) << bad;
    }
    EXPECT_EQ(FolderItem("/").Parent(), nullptr);
    EXPECT_EQ(FolderItem("/etc").Parent()->ShellPath(), "/");

    ::symlink("nowhere", (scratch / "dangling").c_str());
    EXPECT_TRUE(folder.Child("dangling")->Exists());  // the name is taken
    EXPECT_FALSE(folder.Child("dangling")->Directory());
    // A link leads to its target, read from the link's folder or absolute, existing or not; a
    // loop is given up as the kernel gives it up.
    ::symlink((scratch / "dangling").c_str(), (scratch / "absolute").c_str());
    ::symlink("loop", (scratch / "loop").c_str());
    EXPECT_EQ(folder.Child("absolute")->LinkTarget()->ShellPath(), scratch / "nowhere");
    EXPECT_EQ(folder.Child("loop")->LinkTarget()->ShellPath(), scratch / "loop");
}

TEST(FolderItemTest, TypeAndCreatorAreExtendedAttributes) {
    ScratchFolder scratch;
    WriteBytes(scratch / "prefs", "00");
    const FolderItem file(scratch / "prefs");
    EXPECT_EQ(file.MacType(), "");
    EXPECT_TRUE(file.SetMacType("PREF"));
    EXPECT_TRUE(file.SetMacCreator("QVLK"));
    EXPECT_EQ(file.MacType(), "PREF");
    EXPECT_EQ(Attribute(scratch / "prefs", "creator"), "QVLK");
    EXPECT_TRUE(file.MacAttributesSupported());

    FolderItem::SimulateAttributeError(ENOTSUP);
    EXPECT_FALSE(file.MacAttributesSupported());
    EXPECT_EQ(file.MacType(), "");
    EXPECT_FALSE(file.SetMacType("TEXT"));
    FolderItem::SimulateAttributeError(0);
    EXPECT_EQ(file.MacType(), "PREF");
}

TEST(TextStreamTest, BytesPassUnchanged) {
    ScratchFolder scratch;
    const FolderItem file(scratch / "bytes");
    const std::string bytes("00\0\r\n\xe9\x9b\xb7\xff", 9);
    auto out = TextOutputStream::Create(file);
    ASSERT_NE(out, nullptr);
    EXPECT_TRUE(out->Write(bytes.substr(0, 2)));
    EXPECT_TRUE(out->Write(bytes.substr(2)));
    EXPECT_TRUE(out->Close());
    EXPECT_EQ(ReadBytes(file.ShellPath()), bytes);

    auto in = TextInputStream::Open(file);
    ASSERT_NE(in, nullptr);
    EXPECT_EQ(in->Read(3), bytes.substr(0, 3));
    EXPECT_EQ(in->ReadAll(), bytes.substr(3));
    EXPECT_FALSE(in->ReadError());
}

TEST(TextStreamTest, OpeningYieldsNothingForWhatIsNoReadableFile) {
    ScratchFolder scratch;
    ::mkfifo((scratch / "pipe").c_str(), 0600);
    for (const char* name : {"missing", ".", "pipe"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(TextInputStream::Open(FolderItem(scratch / name)), nullptr);
    }
    EXPECT_EQ(TextOutputStream::Create(FolderItem(scratch / "no/such/folder")), nullptr);
    EXPECT_EQ(TextOutputStream::Create(FolderItem(scratch.Path())), nullptr);
    EXPECT_EQ(TextOutputStream::Create(FolderItem(scratch / "pipe")), nullptr);  // no reader
}

TEST(TextStreamTest, FailedWriteIsNeverReportedAsSuccess) {
    ScratchFolder scratch;
    auto out = TextOutputStream::Create(FolderItem(scratch / "full"));
    bool first = false, second = true, third = true, closed = true;
    WithFileSizeLimit(4, [&] {
        first = out->Write("00");
        second = out->Write("0001000");
        third = out->Write("x");
        closed = out->Close();
    });

    EXPECT_TRUE(first);
    EXPECT_FALSE(second);
    EXPECT_FALSE(third);
    EXPECT_FALSE(closed);
    EXPECT_TRUE(out->WriteError());
}

TEST(ExchangeFilesTest, SwapsContentsOrFailsWithNothingChanged) {
    ScratchFolder scratch;
    WriteBytes(scratch / "a", "A");
    WriteBytes(scratch / "b", "B");
    EXPECT_TRUE(ExchangeFiles(FolderItem(scratch / "a"), FolderItem(scratch / "b")));
    EXPECT_EQ(ReadBytes(scratch / "a"), "B");
    EXPECT_EQ(ReadBytes(scratch / "b"), "A");

    EXPECT_FALSE(ExchangeFiles(FolderItem(scratch / "a"), FolderItem(scratch / "missing")));
    EXPECT_EQ(ReadBytes(scratch / "a"), "B");

    // Another file system: EXDEV.
    struct stat here {
    }, shm{};
    if (::stat(scratch.Path().c_str(), &here) == 0 && ::stat("/dev/shm", &shm) == 0 &&
        here.st_dev != shm.st_dev) {
        const std::string other = "/dev/shm/tembrolo-exchange-test-" + std::to_string(::getpid());
        WriteBytes(other, "C");
        EXPECT_FALSE(ExchangeFiles(FolderItem(scratch / "a"), FolderItem(other)));
        EXPECT_EQ(ReadBytes(other), "C");
        std::remove(other.c_str());
    }
}
}  // namespace
