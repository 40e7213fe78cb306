#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QImage>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "ExchangeFiles.h"
#include "FolderItem.h"
#include "Picture.h"
#include "RegularFile.h"
#include "ResourcesFolder.h"
#include "ScratchFolder.h"
#include "SpecialFolder.h"
#include "TextInputStream.h"
#include "TextOutputStream.h"

namespace {
// Made when missing, private to the user. A relative setting is no setting: ~/.config it is. A
// file in the way leaves none.
TEST(SpecialFolderTest, PreferencesFolderIsTheUsersConfigFolderMadeWhenMissing) {
    ScratchFolder scratch;
    ::setenv("HOME", scratch.Path().c_str(), 1);
    WriteBytes(scratch / "file", "");
    for (const auto& [setting, want] : std::vector<std::pair<std::string, std::string>>{
             {scratch / "a/b/config", scratch / "a/b/config"},
             {"relative/config", scratch / ".config"},
             {"", scratch / ".config"},
             {scratch / "file", ""},
             {scratch / "file/config", ""}}) {
        ::setenv("XDG_CONFIG_HOME", setting.c_str(), 1);
        const FolderItemPtr folder = SpecialFolder::Preferences();
        EXPECT_EQ(folder ? folder->ShellPath() : "", want) << setting;
    }
    EXPECT_EQ(FolderItem(scratch / "a/b/config").Permissions(), 0700);
    SetResourcesFolder(scratch / "no-resources");
    EXPECT_EQ(ResourcesFolder(), std::nullopt);
}

// See-through parts of a picture file are white, the colour that Transparent skips.
TEST(PictureFileTest, AnAlphaChannelIsLaidOnWhite) {
    ScratchFolder scratch;
    QImage drawn(2, 1, QImage::Format_ARGB32);
    drawn.setPixel(0, 0, qRgba(0x99, 0, 0, 0xFF));
    drawn.setPixel(1, 0, qRgba(0, 0, 0, 0));
    ASSERT_TRUE(drawn.save(QString::fromStdString(scratch / "alpha.png")));
    const PicturePtr pic = Picture::Open(scratch / "alpha.png");
    ASSERT_NE(pic, nullptr);
    EXPECT_EQ((std::array{pic->PixelAt(0, 0), pic->PixelAt(1, 0)}),
              (std::array{0x990000u, 0xFFFFFFu}));
    EXPECT_EQ(pic->Depth(), 32);
}

// A /proc file has no size to stat and grows as it is read: it is read whole all the same.
TEST(RegularFileTest, IsReadWholeUpToItsCapAndNothingPastIt) {
    ScratchFolder scratch;
    WriteBytes(scratch / "four", "0001");
    const std::string proc = "/proc/self/cmdline", grown = ReadBytes(proc).value_or("");
    EXPECT_EQ(
        (std::array{ReadRegularFile(scratch / "four", 4), ReadRegularFile(scratch / "four", 3),
                    ReadRegularFile(proc, grown.size()), ReadRegularFile(proc, grown.size() - 1)}),
        (std::array<std::optional<std::string>, 4>{"0001", std::nullopt, grown, std::nullopt}));
}

TEST(FolderItemTest, ChildIsAReferenceEvenToAFreeName) {
    ScratchFolder scratch;
    const FolderItem folder(scratch.Path());
    const FolderItemPtr child = folder.Child("Tembroloの設定");
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(std::tuple(child->Exists(), child->Name(), child->TemporaryFolder()->ShellPath()),
              std::tuple(false, "Tembroloの設定", scratch.Path()));
    for (const std::string& bad :
         std::vector<std::string>{"", ".", "..", "a/b", std::string("a\0b", 3)}) {
        EXPECT_EQ(folder.Child(bad), nullptr) << bad;
    }
    EXPECT_EQ(FolderItem("/").Parent(), nullptr);
    EXPECT_EQ(FolderItem("/etc").Parent()->ShellPath(), "/");
    EXPECT_EQ(FolderItem("/etc//").Name(), "etc");

    ::symlink("nowhere", (scratch / "dangling").c_str());
    EXPECT_TRUE(folder.Child("dangling")->Exists());  // the name is taken
    EXPECT_TRUE(folder.Child("dangling")->SymbolicLink());
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
    EXPECT_EQ((std::array{file.SetMacType("PREF"), file.SetMacCreator("QVLK"),
                          file.MacAttributesSupported()}),
              (std::array{true, true, true}));
    EXPECT_EQ((std::array{file.MacType(), Attribute(scratch / "prefs", "creator")}),
              (std::array<std::string, 2>{"PREF", "QVLK"}));

    FolderItem::SimulateAttributeError(ENOTSUP);
    EXPECT_EQ(std::tuple(file.MacAttributesSupported(), file.MacType(), file.SetMacType("TEXT")),
              std::tuple(false, "", false));
    FolderItem::SimulateAttributeError(0);
    EXPECT_EQ(file.MacType(), "PREF");
    // A file written again is marked again; a code far longer than four bytes is none of ours.
    const std::string longest(64, 'x');
    for (const auto& [code, want] : std::vector<std::pair<std::string, std::string>>{
             {"TEXT", "TEXT"}, {"T", "T"}, {longest, longest}, {longest + "x", ""}}) {
        EXPECT_TRUE(file.SetMacType(code));
        EXPECT_EQ(file.MacType(), want);
    }
    EXPECT_TRUE(file.SetPermissions(0640));
    EXPECT_EQ(file.Permissions(), 0640);
}

TEST(TextStreamTest, BytesPassUnchanged) {
    ScratchFolder scratch;
    const FolderItem file(scratch / "bytes");
    const std::string bytes("00\0\r\n\xe9\x9b\xb7\xff", 9);
    const int firstFree = ::dup(0);
    ::close(firstFree);
    auto out = TextOutputStream::Create(file);
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(
        (std::array{out->Write(bytes.substr(0, 1)), out->Write(bytes.substr(1)), out->Close()}),
        (std::array{true, true, true}));
    EXPECT_EQ(ReadBytes(file.ShellPath()), bytes);
    TextOutputStream::Create(FolderItem(scratch / "unclosed"));  // dropped without a Close

    auto in = TextInputStream::Open(file);
    ASSERT_NE(in, nullptr);
    EXPECT_EQ(in->Read(3), bytes.substr(0, 3));
    errno = EINTR;  // left over from elsewhere: the end of the file still ends the read
    EXPECT_EQ(in->ReadAll(), bytes.substr(3));
    EXPECT_FALSE(in->ReadError());
    in.reset();
    EXPECT_EQ(::dup(0), firstFree);  // every stream gave its descriptor back
}

// No stream for what is no readable or writable file; a failed write is never a success.
TEST(TextStreamTest, NoFileGivesNoStreamAndAFailedWriteIsNeverReportedAsSuccess) {
    ScratchFolder scratch;
    ::mkfifo((scratch / "pipe").c_str(), 0600);
    for (const char* name : {"missing", ".", "pipe"}) {
        EXPECT_EQ(TextInputStream::Open(FolderItem(scratch / name)), nullptr) << name;
    }
    EXPECT_EQ(TextOutputStream::Create(FolderItem(scratch / "no/such/folder")), nullptr);
    EXPECT_EQ(TextOutputStream::Create(FolderItem(scratch.Path())), nullptr);
    EXPECT_EQ(TextOutputStream::Create(FolderItem(scratch / "pipe")), nullptr);  // no reader

    auto out = TextOutputStream::Create(FolderItem(scratch / "full"));
    std::array<bool, 4> results{};  // three writes and the close
    WithFileSizeLimit(4, [&] {
        results = {out->Write("00"), out->Write("0001000"), out->Write("x"), out->Close()};
    });
    EXPECT_EQ(results, (std::array{true, false, false, false}));
    EXPECT_TRUE(out->WriteError());
    // Once closed it holds no file: none to duplicate, flush, measure or find under a name.
    EXPECT_EQ((std::tuple(out->Duplicate() == nullptr, out->Sync(), out->Length(),
                          out->IsFileAt(FolderItem(scratch / "full")))),
              std::tuple(true, false, -1, false));
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
    EXPECT_FALSE(FolderItem(scratch / "a").MoveFileTo(FolderItem(scratch / "no/such/a")));
    EXPECT_FALSE(FolderItem(scratch / "missing").Sync());
    EXPECT_TRUE(FolderItem(scratch / "b").Delete());

    // Another file system: EXDEV.
    struct stat here = {}, shm = {};
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
